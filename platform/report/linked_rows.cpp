#include "platform/report/linked_rows.h"

#include <stdexcept>

namespace report {

namespace {

// The texts of the link cells, each followed by a separator, into `key`.
template <class TextOf>
void makeKey(std::string& key, const std::vector<int>& cells, TextOf textOf) {
    key.clear();
    for (int cell : cells) {
        key += textOf(cell);
        key += '\x1F';
    }
}

} // namespace

std::string LinkKey(const std::vector<Cell>& row, const std::vector<int>& cells) {
    std::string key;
    makeKey(key, cells, [&](int cell) -> const std::string& {
        return row[static_cast<std::size_t>(cell)].text;
    });
    return key;
}

LinkedRows::LinkedRows(Connection& c, std::vector<bool> wanted, const std::vector<int>& linkCells,
                       const std::function<void()>& counted)
    : c_(c), wanted_(std::move(wanted)) {
    for (std::size_t i = 0; i < wanted_.size(); ++i)
        if (wanted_[i])
            kept_.push_back(i);
    std::vector<std::uint32_t> rowGroup;
    auto add = [&](const std::string& key) {
        const auto next = static_cast<std::uint32_t>(groups_.size());
        rowGroup.push_back(groups_.try_emplace(key, next).first->second);
        counted();
    };
    c.First();
    const std::optional<std::size_t> rows = c.RowCount();
    byPlace_ = rows.has_value();
    if (byPlace_) {
        if (*rows > UINT32_MAX)
            throw std::length_error("report detail of more than 4 thousand million rows");
        std::string key;
        for (std::size_t place = 0; place < *rows; ++place) {
            makeKey(key, linkCells, [&](int cell) { return c.CellText(place, cell); });
            add(key);
        }
    } else {
        std::vector<Cell> row;
        while (!c.Eof()) {
            c.ReadCells(row, wanted_);
            row.resize(c.Columns().size());
            store(row);
            add(LinkKey(row, linkCells));
            c.Next();
        }
    }
    index(rowGroup);
}

void LinkedRows::store(const std::vector<Cell>& row) {
    for (std::size_t i : kept_) {
        const Cell& cell = row[i];
        text_ += cell.text;
        if (text_.size() > UINT32_MAX)
            throw std::length_error("report snapshot larger than 4 GB");
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
        hasNumber_.push_back(cell.number.has_value());
        numbers_.push_back(cell.number.value_or(0));
    }
}

// Sorts the rows by their keys, keeping the order they were read in within each key.
void LinkedRows::index(const std::vector<std::uint32_t>& rowGroup) {
    starts_.assign(groups_.size() + 1, 0);
    for (std::uint32_t group : rowGroup)
        ++starts_[group + 1];
    for (std::size_t g = 1; g < starts_.size(); ++g)
        starts_[g] += starts_[g - 1];
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    order_.resize(rowGroup.size());
    for (std::size_t r = 0; r < rowGroup.size(); ++r)
        order_[next[rowGroup[r]]++] = static_cast<std::uint32_t>(r);
}

std::span<const std::uint32_t> LinkedRows::rowsOf(const std::string& key) const {
    const auto* found = groups_.find(key);
    if (!found)
        return {};
    return {order_.data() + starts_[found->second],
            starts_[found->second + 1] - starts_[found->second]};
}

void LinkedRows::read(std::uint32_t index, std::vector<Cell>& row) {
    if (byPlace_) {
        if (lastIndex_ != index) {
            c_.ReadCellsAt(index, lastRow_, wanted_);
            lastRow_.resize(wanted_.size());
            lastIndex_ = index;
        }
        row = lastRow_;
        return;
    }
    row.resize(wanted_.size());
    for (Cell& cell : row) {
        cell.text.clear();
        cell.number.reset();
    }
    const std::size_t first = static_cast<std::size_t>(index) * kept_.size();
    for (std::size_t k = 0; k < kept_.size(); ++k) {
        const std::size_t at = first + k;
        const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
        Cell& cell = row[kept_[k]];
        cell.text.assign(text_, begin, ends_[at] - begin);
        if (hasNumber_[at])
            cell.number = numbers_[at];
    }
}

void LinkedRows::readAll() {
    if (!byPlace_)
        return;
    std::vector<Cell> row;
    for (std::size_t place = 0; place < order_.size(); ++place) {
        c_.ReadCellsAt(place, row, wanted_);
        row.resize(wanted_.size());
        store(row);
    }
    byPlace_ = false;
    lastIndex_.reset();
    lastRow_ = {};
}

} // namespace report
