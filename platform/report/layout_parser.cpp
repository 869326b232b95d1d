// Reads layout files (FORMAT.md): one statement per line, a keyword and its words.

#include "platform/report/error.h"
#include "platform/report/layout.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/sys/utf8.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace report {

namespace {

constexpr std::string_view kSignature = "farmreport";
constexpr std::string_view kVersion = "1";

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// One word of a statement: a bare or quoted value, or name=value, or a bare flag.
struct Word {
    std::string name;  // option name; empty for a positional word
    std::string value; // positional word, or the option's value
    bool hasValue = false;
    bool quoted = false; // written in quotes: never a flag
};

class LineReader {
public:
    LineReader(std::string_view line, const std::function<void(const std::string&)>& fail)
        : line_(line), fail_(fail) {}

    std::vector<Word> words() {
        std::vector<Word> result;
        while (skipBlanks())
            result.push_back(word());
        return result;
    }

private:
    bool skipBlanks() {
        while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t'))
            ++pos_;
        return pos_ < line_.size();
    }
    std::string quotedText() {
        ++pos_; // the opening quote
        std::string text;
        while (true) {
            if (pos_ >= line_.size())
                fail_("lezáratlan idézőjel");
            const char c = line_[pos_++];
            if (c != '"') {
                text += c;
            } else if (pos_ < line_.size() && line_[pos_] == '"') {
                text += '"';
                ++pos_;
            } else {
                return text;
            }
        }
    }
    std::string bare() {
        const std::size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' &&
               line_[pos_] != '=' && line_[pos_] != '"')
            ++pos_;
        return std::string(line_.substr(start, pos_ - start));
    }
    Word word() {
        Word w;
        if (line_[pos_] == '"') {
            w.value = quotedText();
            w.hasValue = true;
            w.quoted = true;
            return w;
        }
        std::string first = bare();
        if (pos_ < line_.size() && line_[pos_] == '"')
            fail_("hiányzik a szóköz az idézőjel előtt: " + inQuotes(first));
        if (pos_ >= line_.size() || line_[pos_] != '=') {
            w.value = std::move(first);
            return w;
        }
        ++pos_; // '='
        if (first.empty())
            fail_("hiányzik a beállítás neve az = előtt");
        w.name = std::move(first);
        w.hasValue = true;
        if (pos_ < line_.size() && line_[pos_] == '"') {
            w.value = quotedText();
        } else {
            w.value = bare();
            if (pos_ < line_.size() && (line_[pos_] == '=' || line_[pos_] == '"'))
                fail_("hibás beállítás: " + inQuotes(w.name));
        }
        return w;
    }

    std::string_view line_;
    std::size_t pos_ = 0;
    const std::function<void(const std::string&)>& fail_;
};

// The words of one statement after its keyword, taken apart by the statement's reader.
class Statement {
public:
    Statement(std::string keyword, std::vector<Word> words,
              std::function<void(const std::string&)> fail)
        : keyword_(std::move(keyword)), fail_(std::move(fail)) {
        for (Word& w : words) {
            if (!w.name.empty())
                options_.push_back(std::move(w));
            else
                words_.push_back(std::move(w));
        }
        for (const Word& w : words_)
            positional_.push_back(w.value);
    }

    const std::string& keyword() const { return keyword_; }

    // The positional words: exactly as many as `what` names.
    const std::vector<std::string>& args(std::initializer_list<const char*> what) {
        if (positional_.size() != what.size()) {
            std::string expected;
            for (const char* w : what)
                expected += (expected.empty() ? "" : ", ") + std::string(w);
            if (what.size() == 0)
                fail_(inQuotes(keyword_) +
                      " után nem állhat más, csak beállítás: " + inQuotes(positional_.front()));
            fail_(inQuotes(keyword_) + " után ez kell: " + expected);
        }
        return positional_;
    }

    // Options and flags; each may occur once. Flags are positional words named in
    // `flags`; they are taken out of the positional words.
    void allow(std::initializer_list<const char*> options,
               std::initializer_list<const char*> flags = {}) {
        std::set<std::string> seen;
        for (const Word& w : options_) {
            const std::string name = sys::toLower(w.name);
            if (std::none_of(options.begin(), options.end(),
                             [&](const char* o) { return name == o; }))
                fail_("ismeretlen beállítás: " + inQuotes(w.name));
            if (!seen.insert(name).second)
                fail_("kétszer megadott beállítás: " + inQuotes(w.name));
        }
        std::vector<std::string> rest;
        for (const Word& word : words_) {
            const std::string lower = sys::toLower(word.value);
            const bool isFlag =
                !word.quoted &&
                std::any_of(flags.begin(), flags.end(), [&](const char* f) { return lower == f; });
            if (!isFlag) {
                rest.push_back(word.value);
            } else if (!seen.insert(lower).second) {
                fail_("kétszer megadott jelző: " + inQuotes(word.value));
            } else {
                flags_.insert(lower);
            }
        }
        positional_ = std::move(rest);
    }

    bool flag(const char* name) const { return flags_.count(name) > 0; }
    // Takes an option out before the others are checked (an option only one statement
    // of a kind has).
    std::optional<std::string> takeOption(const char* name) {
        for (auto it = options_.begin(); it != options_.end(); ++it)
            if (sys::toLower(it->name) == name) {
                std::string value = it->value;
                options_.erase(it);
                return value;
            }
        return std::nullopt;
    }
    std::optional<std::string> option(const char* name) const {
        for (const Word& w : options_)
            if (sys::toLower(w.name) == name)
                return w.value;
        return std::nullopt;
    }
    std::optional<double> number(const char* name, double max = 2000) const {
        const std::optional<std::string> text = option(name);
        if (!text)
            return std::nullopt;
        const std::optional<double> value = sys::tryParseFloat(*text);
        if (!value || *value < 0 || *value > max)
            fail_(std::string("hibás szám: ") + name + "=" + *text);
        return value;
    }
    [[noreturn]] void fail(const std::string& problem) const {
        fail_(problem);
        throw std::logic_error("unreachable");
    }

private:
    std::string keyword_;
    std::vector<Word> words_;
    std::vector<std::string> positional_;
    std::vector<Word> options_;
    std::set<std::string> flags_;
    std::function<void(const std::string&)> fail_;
};

// --- templates -------------------------------------------------------------------------

Template parseTemplate(std::string_view text, bool inBand,
                       const std::function<void(const std::string&)>& fail) {
    Template result;
    std::string literal;
    auto flush = [&] {
        if (!literal.empty())
            result.pieces.push_back({Piece::Kind::Literal, std::move(literal), {}});
        literal.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '}') {
            if (i + 1 < text.size() && text[i + 1] == '}') {
                literal += '}';
                ++i;
                continue;
            }
            fail("magányos } a szövegben (kettőzve: }})");
        }
        if (c != '{') {
            literal += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            literal += '{';
            ++i;
            continue;
        }
        const std::size_t close = text.find('}', i + 1);
        if (close == std::string_view::npos)
            fail("lezáratlan { a szövegben");
        const std::string name(sys::trim(text.substr(i + 1, close - i - 1)));
        i = close;
        flush();
        if (name.empty())
            fail("üres mező a szövegben: {}");
        Piece piece;
        if (name[0] == '#') {
            const std::string special = sys::toLower(name);
            if (special == "#date")
                piece.kind = Piece::Kind::Date;
            else if (special == "#page")
                piece.kind = Piece::Kind::Page;
            else if (special == "#pages")
                piece.kind = Piece::Kind::Pages;
            else
                fail("ismeretlen mező: {" + name + "} ({#date}, {#page} vagy {#pages})");
        } else if (const std::size_t dot = name.find('.'); dot != std::string::npos) {
            piece.kind = Piece::Kind::Reference;
            piece.connection = name.substr(0, dot);
            piece.text = name.substr(dot + 1);
            if (piece.connection.empty() || piece.text.empty())
                fail("hibás mező: {" + name + "}");
        } else {
            if (!inBand)
                fail("a(z) {" + name +
                     "} mező csak sávban állhat; más adatkapcsolat mezője: "
                     "{Adatkapcsolat.Oszlop}");
            piece.kind = Piece::Kind::Column;
            piece.text = name;
        }
        result.pieces.push_back(std::move(piece));
    }
    flush();
    return result;
}

Align parseAlign(const Statement& s) {
    const std::optional<std::string> text = s.option("align");
    if (!text)
        return Align::Left;
    const std::string lower = sys::toLower(*text);
    if (lower == "left")
        return Align::Left;
    if (lower == "center")
        return Align::Center;
    if (lower == "right")
        return Align::Right;
    s.fail("ismeretlen igazítás: " + inQuotes(*text) + " (left, center vagy right)");
}

// --- the parser ------------------------------------------------------------------------

class Parser {
public:
    explicit Parser(const std::filesystem::path& file) { layout_.file = file; }

    Layout parse(std::string_view text) {
        checkText(text);
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        bool signed_ = false;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            ++line_;
            const std::string_view content = sys::trim(line);
            if (!content.empty() && content[0] != '#') {
                if (!signed_)
                    signature(content);
                else
                    statement(content);
                signed_ = true;
            }
            start = end + 1;
        }
        if (!signed_)
            throw LayoutError(layout_.file, 0,
                              "üres jelentésfájl; az első sornak így kell szólnia: farmreport 1");
        closeSection();
        return std::move(layout_);
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw LayoutError(layout_.file, line_, problem);
    }
    std::function<void(const std::string&)> failer() const {
        return [this](const std::string& problem) { fail(problem); };
    }

    // A layout is UTF-8 text; anything else is a file of another program.
    void checkText(std::string_view text) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t at = pos;
            const std::optional<char32_t> c = sys::decodeUtf8(text, pos);
            if (!c || *c == 0 || (*c < 0x20 && *c != '\n' && *c != '\r' && *c != '\t')) {
                line_ = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
                fail("nem ennek a programnak a jelentésfájlja (bináris tartalom, talán a "
                     "régi program fájlja)");
            }
        }
    }

    void signature(std::string_view content) {
        std::vector<Word> words = LineReader(content, failer()).words();
        if (words.empty() || !words[0].name.empty() || words[0].value != kSignature)
            fail("nem ennek a programnak a jelentésfájlja: az első sornak így kell szólnia: "
                 "farmreport 1");
        if (words.size() < 2 || !words[1].name.empty() || words[1].value != kVersion)
            fail("ismeretlen formátumváltozat: " + std::string(content.substr(kSignature.size())) +
                 " (ez a program az 1-et ismeri)");
        for (std::size_t i = 2; i < words.size(); ++i) {
            const Word& w = words[i];
            if (sys::toLower(w.name) != "version" || layout_.version != 0)
                fail("az első sorban a farmreport 1 után csak version=N állhat");
            const std::optional<std::int32_t> number = sys::tryParseInt(w.value);
            if (!number || *number < 1 || *number > 1000000)
                fail("hibás változatszám: version=" + w.value);
            layout_.version = static_cast<int>(*number);
        }
    }

    void statement(std::string_view content) {
        std::vector<Word> words = LineReader(content, failer()).words();
        if (!words[0].name.empty() || words[0].value.empty())
            fail("a sornak kulcsszóval kell kezdődnie");
        const std::string keyword = sys::toLower(words[0].value);
        words.erase(words.begin());
        Statement s(keyword, std::move(words), failer());
        if (keyword == "page")
            return page(s);
        if (keyword == "title" || keyword == "pageheader" || keyword == "pagefooter" ||
            keyword == "summary")
            return block(s);
        if (keyword == "band")
            return band(s);
        if (keyword == "text" || keyword == "space" || keyword == "line" || keyword == "frame" ||
            keyword == "endframe")
            return blockItem(s);
        static const std::set<std::string> bandKeywords{
            "caption", "column", "heading",  "group",     "grouphead", "groupfoot", "grouptotal",
            "foot",    "total",  "pagefoot", "pagetotal", "carry",     "carryfoot", "carryhead"};
        if (bandKeywords.count(keyword))
            return bandItem(s);
        fail("ismeretlen kulcsszó: " + inQuotes(keyword));
    }

    void page(Statement& s) {
        if (pageSeen_)
            fail("a page sor csak egyszer állhat");
        if (block_ || band_)
            fail("a page sornak a szakaszok előtt kell állnia");
        pageSeen_ = true;
        s.allow({"size", "orientation", "margin", "left", "top", "right", "bottom", "font"});
        s.args({});
        PageSetup& p = layout_.page;
        if (const auto size = s.option("size")) {
            p.paper = sys::toUpper(*size);
            if (p.paper != "A4" && p.paper != "A3")
                fail("ismeretlen papírméret: " + inQuotes(*size) + " (A4 vagy A3)");
        }
        if (const auto orientation = s.option("orientation")) {
            const std::string lower = sys::toLower(*orientation);
            if (lower != "portrait" && lower != "landscape")
                fail("ismeretlen tájolás: " + inQuotes(*orientation) +
                     " (portrait vagy landscape)");
            p.landscape = lower == "landscape";
        }
        if (const auto all = s.number("margin", 100))
            p.margins.fill(*all);
        const char* sides[] = {"left", "top", "right", "bottom"};
        for (std::size_t i = 0; i < 4; ++i)
            if (const auto side = s.number(sides[i], 100))
                p.margins[i] = *side;
        if (const auto font = s.number("font", 72)) {
            if (*font < 4)
                fail("a betűméret legalább 4 pont");
            p.fontSize = *font;
        }
    }

    // A frame must be closed in the block it was opened in.
    void closeSection() {
        if (frameOpen_)
            throw LayoutError(layout_.file, frameLine_, "lezáratlan frame (hiányzik az endframe)");
        if (band_)
            finishBand(*band_);
    }

    void block(Statement& s) {
        s.allow({});
        s.args({});
        closeSection();
        band_ = nullptr;
        Block* target = s.keyword() == "title"        ? &layout_.title
                        : s.keyword() == "pageheader" ? &layout_.pageHeader
                        : s.keyword() == "pagefooter" ? &layout_.pageFooter
                                                      : &layout_.summary;
        if (!seenBlocks_.insert(s.keyword()).second)
            fail("a(z) " + inQuotes(s.keyword()) + " szakasz csak egyszer állhat");
        block_ = target;
    }

    // A text of a block (placed: x, width, sameline), of a band (wrappable: captions and
    // group heads) or a footer's label.
    TextLine textLine(Statement& s, bool inBand, bool placed, bool wrappable = true) {
        if (placed)
            s.allow({"size", "align", "x", "width"}, {"bold", "sameline", "wrap"});
        else if (wrappable)
            s.allow({"size", "align"}, {"bold", "wrap"});
        else
            s.allow({"size", "align"}, {"bold"});
        const std::string& text = s.args({"szöveg"})[0];
        TextLine t;
        t.line = line_;
        t.text = parseTemplate(text, inBand, failer());
        t.style.size = s.number("size", 72).value_or(0);
        if (t.style.size != 0 && t.style.size < 4)
            fail("a betűméret legalább 4 pont");
        t.style.bold = s.flag("bold");
        t.style.align = parseAlign(s);
        t.wrap = s.flag("wrap");
        if (placed) {
            t.x = s.number("x");
            t.width = s.number("width");
            t.sameLine = s.flag("sameline");
        }
        return t;
    }

    void blockItem(Statement& s) {
        if (!block_)
            fail(inQuotes(s.keyword()) +
                 " csak title, pageheader, pagefooter vagy summary szakaszban állhat");
        BlockItem item;
        item.line = line_;
        if (s.keyword() == "text") {
            item.kind = BlockItem::Kind::Text;
            item.text = textLine(s, false, true);
            if (item.text.sameLine &&
                (block_->items.empty() || block_->items.back().kind != BlockItem::Kind::Text))
                fail("a sameline szövegnek egy másik text sor után kell állnia");
        } else if (s.keyword() == "space") {
            s.allow({});
            item.kind = BlockItem::Kind::Space;
            const std::string& amount = s.args({"térköz (mm)"})[0];
            const std::optional<double> mm = sys::tryParseFloat(amount);
            if (!mm || *mm < 0 || *mm > 500)
                fail("hibás térköz: " + inQuotes(amount));
            item.amount = *mm;
        } else if (s.keyword() == "line") {
            s.allow({"x", "width", "thickness"});
            s.args({});
            item.kind = BlockItem::Kind::Rule;
            item.x = s.number("x");
            item.width = s.number("width");
            item.amount = s.number("thickness", 5).value_or(0.2);
        } else if (s.keyword() == "frame") {
            s.allow({"x", "width", "thickness", "padding"});
            s.args({});
            if (frameOpen_)
                fail("a frame nem ágyazható egy másikba (előbb endframe kell)");
            item.kind = BlockItem::Kind::FrameBegin;
            item.x = s.number("x");
            item.width = s.number("width");
            item.amount = s.number("thickness", 5).value_or(0.2);
            item.padding = s.number("padding", 20).value_or(1);
            frameOpen_ = true;
            frameLine_ = line_;
        } else {
            s.allow({});
            s.args({});
            if (!frameOpen_)
                fail("endframe előtt frame sornak kell állnia");
            item.kind = BlockItem::Kind::FrameEnd;
            frameOpen_ = false;
        }
        block_->items.push_back(std::move(item));
    }

    void band(Statement& s) {
        s.allow({"connection", "master", "link", "indent", "headings", "size", "rowheight",
                 "pagerows", "rules", "rule", "frame", "marks"},
                {"newpage"});
        closeSection();
        block_ = nullptr;
        Band b;
        b.line = line_;
        b.name = s.args({"sávnév"})[0];
        if (findBand(b.name))
            fail("már van ilyen nevű sáv: " + inQuotes(b.name));
        const std::optional<std::string> connection = s.option("connection");
        if (!connection || connection->empty())
            fail("a band sor connection= beállítása kötelező");
        b.connection = *connection;
        if (const auto master = s.option("master")) {
            if (!findBand(*master))
                fail("a(z) " + inQuotes(*master) + " fősáv nincs a fájlban e sor előtt");
            b.master = *master;
        }
        if (const auto link = s.option("link")) {
            if (b.master.empty())
                fail("a link= csak master= mellett állhat");
            b.links = parseLinks(*link);
        }
        b.indent = s.number("indent").value_or(0);
        b.size = s.number("size", 72).value_or(0);
        if (b.size != 0 && b.size < 4)
            fail("a betűméret legalább 4 pont");
        if (const auto headings = s.option("headings")) {
            const std::string lower = sys::toLower(*headings);
            if (lower != "yes" && lower != "no" && lower != "page")
                fail("headings= értéke yes, no vagy page");
            b.headings = lower != "no";
            b.headingsOncePerPage = lower == "page";
        }
        b.newPage = s.flag("newpage");
        b.rowHeight = s.number("rowheight", 200).value_or(0);
        if (b.rowHeight != 0 && b.rowHeight < 2)
            fail("a rowheight legalább 2 mm");
        if (const auto rows = s.number("pagerows", 1000)) {
            if (*rows < 1 || *rows != static_cast<int>(*rows))
                fail("a pagerows egész szám, legalább 1");
            b.pageRows = static_cast<int>(*rows);
        }
        if (const auto rules = s.option("rules")) {
            const std::string lower = sys::toLower(*rules);
            if (lower == "none")
                b.rules.kind = Rules::Kind::None;
            else if (lower == "rows")
                b.rules.kind = Rules::Kind::Rows;
            else if (lower == "columns")
                b.rules.kind = Rules::Kind::Columns;
            else if (lower == "grid")
                b.rules.kind = Rules::Kind::Grid;
            else
                fail("ismeretlen vonalazás: " + inQuotes(*rules) +
                     " (none, rows, columns vagy grid)");
        }
        b.rules.width = s.number("rule", 5).value_or(0.2);
        b.rules.frame = s.number("frame", 5).value_or(0);
        if (const auto marks = s.option("marks")) {
            const std::string lower = sys::toLower(*marks);
            if (lower == "letters")
                b.marks = ColumnMarks::Letters;
            else if (lower == "numbers")
                b.marks = ColumnMarks::Numbers;
            else if (lower != "none")
                fail("ismeretlen oszlopjelölés: " + inQuotes(*marks) +
                     " (letters, numbers vagy none)");
        }
        layout_.bands.push_back(std::move(b));
        band_ = &layout_.bands.back();
    }

    std::vector<std::pair<std::string, std::string>> parseLinks(const std::string& text) {
        std::vector<std::pair<std::string, std::string>> links;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(';', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view pair = std::string_view(text).substr(start, end - start);
            const std::size_t eq = pair.find('=');
            const std::string detail(sys::trim(pair.substr(0, eq)));
            const std::string master(eq == std::string_view::npos ? ""
                                                                  : sys::trim(pair.substr(eq + 1)));
            if (detail.empty() || master.empty())
                fail("hibás kapcsolómező-lista: " + inQuotes(text) +
                     " (alak: Részletoszlop=Főoszlop;...)");
            links.emplace_back(detail, master);
            start = end + 1;
        }
        return links;
    }

    const Band* findBand(std::string_view name) const {
        for (const Band& b : layout_.bands)
            if (sys::equalsNoCase(b.name, name))
                return &b;
        return nullptr;
    }

    void bandItem(Statement& s) {
        if (!band_)
            fail(inQuotes(s.keyword()) + " csak band szakaszban állhat");
        Band& b = *band_;
        const std::string& k = s.keyword();
        if (k == "caption") {
            b.captions.push_back(textLine(s, true, false));
        } else if (k == "column") {
            column(s, b);
        } else if (k == "heading") {
            heading(s, b);
        } else if (k == "group") {
            s.allow({}, {"newpage"});
            Group g;
            g.column = s.args({"oszlopnév"})[0];
            g.newPage = s.flag("newpage");
            g.line = line_;
            b.groups.push_back(std::move(g));
        } else if (k == "grouphead" || k == "groupfoot" || k == "grouptotal") {
            if (b.groups.empty())
                fail(inQuotes(k) + " előtt a group sornak kell állnia");
            Group& g = b.groups.back();
            if (k == "grouphead") {
                if (g.head)
                    fail("egy csoportnak csak egy grouphead sora lehet");
                const std::optional<std::string> continued = s.takeOption("continued");
                g.head = textLine(s, true, false);
                if (continued) {
                    g.continued = *g.head;
                    g.continued->text = parseTemplate(*continued, true, failer());
                }
            } else {
                footerItem(s, b, g.foot, k == "grouptotal");
            }
        } else if (k == "pagefoot" || k == "pagetotal") {
            footerItem(s, b, b.pageFoot, k == "pagetotal");
        } else if (k == "carry") {
            footerItem(s, b, b.carryFoot, true);
            b.carryHead.totals.push_back(b.carryFoot.totals.back());
        } else if (k == "carryfoot") {
            footerItem(s, b, b.carryFoot, false);
        } else if (k == "carryhead") {
            footerItem(s, b, b.carryHead, false);
        } else {
            footerItem(s, b, b.foot, k == "total");
        }
    }

    // What a band needs once all of its lines are read.
    void finishBand(Band& b) {
        const bool carried = !b.carryFoot.totals.empty();
        if (!carried && (b.carryFoot.label || b.carryHead.label))
            throw LayoutError(layout_.file, b.line,
                              "carryfoot vagy carryhead mellé carry sor is kell");
        auto label = [&](Footer& footer, const char* text) {
            if (!carried || footer.label)
                return;
            TextLine t;
            t.text.pieces.push_back({Piece::Kind::Literal, text, {}});
            t.style.bold = true;
            t.line = b.line;
            footer.label = std::move(t);
        };
        label(b.carryFoot, "Átvitel:");
        label(b.carryHead, "Áthozat:");
    }

    std::size_t columnPosition(const Band& b, const std::string& name) {
        for (std::size_t i = 0; i < b.columns.size(); ++i)
            if (sys::equalsNoCase(b.columns[i].name, name))
                return i;
        fail("a(z) " + inQuotes(name) + " nem oszlopa a sávnak (előbb column sor kell)");
    }

    void heading(Statement& s, Band& b) {
        s.allow({"from", "to", "row", "size", "align"}, {"bold"});
        Heading h;
        h.line = line_;
        h.text = s.args({"szöveg"})[0];
        const std::optional<std::string> from = s.option("from");
        if (!from)
            fail("a heading sor from= beállítása kötelező (az első oszlop neve)");
        h.first = columnPosition(b, *from);
        h.last = columnPosition(b, s.option("to").value_or(*from));
        if (h.last < h.first)
            fail("a to= oszlop nem állhat a from= oszlop előtt");
        if (const auto row = s.number("row", 20)) {
            if (*row < 1 || *row != static_cast<int>(*row))
                fail("a row egész szám, legalább 1");
            h.row = static_cast<int>(*row);
        }
        h.style.size = s.number("size", 72).value_or(0);
        if (h.style.size != 0 && h.style.size < 4)
            fail("a betűméret legalább 4 pont");
        h.style.bold = s.flag("bold");
        h.style.align = s.option("align") ? parseAlign(s) : Align::Center;
        for (const Heading& other : b.headingCells)
            if (other.row == h.row && other.first <= h.last && h.first <= other.last)
                fail("a fejléccella egy másikra lóg ugyanabban a sorban (" +
                     std::to_string(other.line) + ". sor)");
        b.headingCells.push_back(std::move(h));
    }

    void column(Statement& s, Band& b) {
        s.allow({"caption", "width", "align", "format", "mark"}, {"bold", "wrap"});
        Column c;
        c.line = line_;
        c.name = s.args({"oszlopnév"})[0];
        c.caption = s.option("caption").value_or(c.name);
        c.width = s.number("width").value_or(25);
        c.align = parseAlign(s);
        c.format = s.option("format").value_or("");
        if (!c.format.empty() && !ValidNumberFormat(c.format))
            fail("hibás számformátum: " + inQuotes(c.format) + " (például #,##0.00)");
        c.bold = s.flag("bold");
        c.wrap = s.flag("wrap");
        c.mark = s.option("mark");
        b.columns.push_back(std::move(c));
    }

    void footerItem(Statement& s, const Band& b, Footer& footer, bool total) {
        if (!total) {
            if (footer.label)
                fail(inQuotes(s.keyword()) + " csak egyszer állhat");
            footer.label = textLine(s, true, false, false);
            return;
        }
        s.allow({});
        const std::vector<std::string>& args = s.args({"oszlopnév", "sum vagy count"});
        Total t;
        t.line = line_;
        t.column = args[0];
        const std::string kind = sys::toLower(args[1]);
        if (kind != "sum" && kind != "count")
            fail("sum vagy count kell: " + inQuotes(args[1]));
        t.kind = kind == "sum" ? Total::Kind::Sum : Total::Kind::Count;
        columnPosition(b, t.column);
        footer.totals.push_back(std::move(t));
    }

    Layout layout_;
    int line_ = 0;
    bool pageSeen_ = false;
    std::set<std::string> seenBlocks_;
    Block* block_ = nullptr;
    Band* band_ = nullptr;
    bool frameOpen_ = false;
    int frameLine_ = 0;
};

} // namespace

Layout ParseLayout(std::string_view text, const std::filesystem::path& file) {
    Layout layout = Parser(file).parse(text);
    return layout;
}

Layout ReadLayoutFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw ProjectMissingError(file);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw LayoutError(file, 0, "a fájl nem olvasható");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw LayoutError(file, 0, "a fájl nem olvasható");
    return ParseLayout(text.str(), file);
}

} // namespace report
