#pragma once
// An ordered list of row lengths that answers "where does row i start" and "which row
// covers position y" in O(log n), and appends and removes rows in O(log n), so a strip of
// 32767 rows scrolls, paints, grows and shrinks as fast as one of ten.
//
// Removed rows leave a zero-length slot behind (two Fenwick trees: lengths and live
// slots); the slots are compacted in one linear pass once they outnumber the live rows.

#include <cstdint>
#include <vector>

namespace qrb {

class RowOffsets {
public:
    using Length = std::int64_t;

    // Number of rows.
    int size() const { return live_; }
    bool empty() const { return live_ == 0; }

    void clear();
    // Replaces every row by `lengths`, in order. Linear.
    void assign(const std::vector<Length>& lengths);
    // Appends a row of `length` (> 0).
    void pushBack(Length length);
    // Removes row `index` (0-based); the rows behind it move up.
    void erase(int index);
    // Removes every row whose `remove` flag is set (one flag per row), in one pass.
    void eraseFlagged(const std::vector<bool>& remove);
    // Changes the length of row `index`.
    void setLength(int index, Length length);

    Length length(int index) const;
    // Sum of the lengths of rows 0..index-1; index may be size() (the total).
    Length offset(int index) const;
    Length total() const { return total_; }
    // The row with offset(i) <= position < offset(i + 1); -1 outside 0..total()-1.
    int indexAt(Length position) const;

private:
    int slotOf(int index) const; // 1-based slot of a live row
    Length lengthPrefix(int slot) const;
    int livePrefix(int slot) const;
    void rebuild(std::vector<Length> lengths);

    // Per slot (1-based; element 0 unused): the row's length, 0 for a removed row.
    std::vector<Length> slotLength_{0};
    std::vector<Length> lengthTree_{0};
    std::vector<std::int32_t> liveTree_{0};
    int live_ = 0;
    Length total_ = 0;
};

} // namespace qrb
