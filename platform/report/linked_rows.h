#pragma once
// The rows of a linked detail band's connection, found by the texts of their link cells.
//
// A connection that reads its rows by their place gives only its link cells at first, and
// each row when a master row prints it: the first page waits for the rows it shows, not
// for every row of a large connection. Any other connection is read once whole, the cells
// a band prints stored one after another in one buffer.

#include "platform/db/key_table.h"
#include "platform/report/connection.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace report {

// The key of a row: the texts of its link cells.
std::string LinkKey(const std::vector<Cell>& row, const std::vector<int>& cells);

class LinkedRows {
public:
    // Reads the connection, whose reading has begun, from its first row: the key of every
    // row, and the cells marked in `wanted` of every row unless the connection reads rows
    // by their place. `counted` is told of every row read.
    LinkedRows(Connection& c, std::vector<bool> wanted, const std::vector<int>& linkCells,
               const std::function<void()>& counted);

    // The rows with that key, in the connection's order; none when no row has it.
    std::span<const std::uint32_t> rowsOf(const std::string& key) const;
    // Row `index` into `row`, whose cells keep their room from the row before; the cells
    // not wanted read empty.
    void read(std::uint32_t index, std::vector<Cell>& row);
    // Whether rows are still to be read from the connection, whose reading then stays begun.
    bool readsLater() const { return byPlace_; }
    // Reads every row now: the connection's reading may end (another one is to begin).
    void readAll();
    Connection& connection() const { return c_; }

private:
    void store(const std::vector<Cell>& row);
    void index(const std::vector<std::uint32_t>& rowGroup);

    Connection& c_;
    std::vector<bool> wanted_;
    std::vector<std::size_t> kept_; // the wanted cells
    bool byPlace_ = false;
    // The keys in the order they were first read, and the rows key after key (order_)
    // with where each key's rows begin (starts_).
    db::KeyTable<std::uint32_t> groups_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> starts_;
    // Rows read whole: the texts of their kept cells one after another, where each ends,
    // and their numbers.
    std::string text_;
    std::vector<std::uint32_t> ends_;
    std::vector<bool> hasNumber_;
    std::vector<double> numbers_;
    // The row read last by its place: a master's first detail row is measured before it
    // is printed.
    std::optional<std::uint32_t> lastIndex_;
    std::vector<Cell> lastRow_;
};

} // namespace report
