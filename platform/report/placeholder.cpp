// Keeps the library non-empty until its first unit lands.
namespace {
[[maybe_unused]] constexpr int kPlaceholder = 0;
}
