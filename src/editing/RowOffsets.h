#pragma once
// An ordered list of row lengths that answers "where does row i start" and "which row
// covers position y", and inserts, removes and resizes rows, each in O(log n), so a strip
// of 32767 rows scrolls, paints, grows, shrinks and reorders as fast as one of ten.
//
// The rows are the in-order nodes of a balanced tree (a treap keyed by position, with
// random priorities); every node knows the number of rows and the total length under it.

#include <cstdint>
#include <vector>

namespace qrb {

class RowOffsets {
public:
    using Length = std::int64_t;

    // Number of rows.
    int size() const { return root_ == kNone ? 0 : nodes_[index(root_)].count; }
    bool empty() const { return root_ == kNone; }

    void clear();
    // Replaces every row by `lengths`, in order. Linear.
    void assign(const std::vector<Length>& lengths);
    // Appends a row of `length` (> 0).
    void pushBack(Length length) { insert(size(), length); }
    // Inserts a row of `length` (> 0) so that it becomes row `index` (0..size()).
    void insert(int index, Length length);
    // Removes row `index` (0-based); the rows behind it move up.
    void erase(int index);
    // Removes every row whose `remove` flag is set (one flag per row), in one pass.
    void eraseFlagged(const std::vector<bool>& remove);
    // Changes the length of row `index`.
    void setLength(int index, Length length);

    Length length(int index) const;
    // Sum of the lengths of rows 0..index-1; index may be size() (the total).
    Length offset(int index) const;
    Length total() const { return root_ == kNone ? 0 : nodes_[index(root_)].sum; }
    // The row with offset(i) <= position < offset(i + 1); -1 outside 0..total()-1.
    int indexAt(Length position) const;

private:
    static constexpr int kNone = -1;
    struct Node {
        Length length = 0;
        Length sum = 0; // of the subtree
        int count = 0;  // rows in the subtree
        std::uint32_t priority = 0;
        int left = kNone;
        int right = kNone;
    };

    static std::size_t index(int node) { return static_cast<std::size_t>(node); }
    int countOf(int node) const { return node == kNone ? 0 : nodes_[index(node)].count; }
    Length sumOf(int node) const { return node == kNone ? 0 : nodes_[index(node)].sum; }
    void update(int node);
    int newNode(Length length);
    std::uint32_t nextPriority();
    // Splits `node` into its first `leftCount` rows and the rest.
    void split(int node, int leftCount, int& left, int& right);
    int merge(int left, int right);
    // The node of row `index`; with `path`, the nodes on the way down to it, its own last.
    int nodeAt(int index, std::vector<int>* path = nullptr) const;
    void checkIndex(int index) const;
    void collect(std::vector<Length>& lengths) const;

    std::vector<Node> nodes_;
    std::vector<int> freeNodes_;
    int root_ = kNone;
    std::uint32_t seed_ = 0x9E3779B9u;
};

} // namespace qrb
