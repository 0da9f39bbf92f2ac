#include "editing/RowOffsets.h"

#include <cassert>
#include <stdexcept>

namespace qrb {

namespace {

constexpr int lowBit(int i) {
    return i & -i;
}

// Largest power of two not above n (n > 0).
int topBit(int n) {
    int step = 1;
    while (step * 2 <= n) {
        step *= 2;
    }
    return step;
}

// Builds a Fenwick tree in place over values[1..n] in linear time.
template <typename T> void buildTree(std::vector<T>& tree) {
    const int n = static_cast<int>(tree.size()) - 1;
    for (int i = 1; i <= n; ++i) {
        const int parent = i + lowBit(i);
        if (parent <= n) {
            tree[parent] += tree[i];
        }
    }
}

template <typename T> void addAt(std::vector<T>& tree, int slot, T delta) {
    const int n = static_cast<int>(tree.size()) - 1;
    for (; slot <= n; slot += lowBit(slot)) {
        tree[slot] += delta;
    }
}

template <typename T> T prefixOf(const std::vector<T>& tree, int slot) {
    T sum = 0;
    for (; slot > 0; slot -= lowBit(slot)) {
        sum += tree[slot];
    }
    return sum;
}

// Largest slot p with prefix(p) <= limit (0 when even slot 1 exceeds it). Prefixes never
// decrease because every stored value is >= 0.
template <typename T> int lastSlotAtMost(const std::vector<T>& tree, T limit) {
    const int n = static_cast<int>(tree.size()) - 1;
    if (n == 0) {
        return 0;
    }
    int pos = 0;
    for (int step = topBit(n); step > 0; step /= 2) {
        const int next = pos + step;
        if (next <= n && tree[next] <= limit) {
            pos = next;
            limit -= tree[next];
        }
    }
    return pos;
}

// Appends slot n+1 holding `value` to a Fenwick tree of n slots.
template <typename T> void appendTo(std::vector<T>& tree, T value) {
    const int slot = static_cast<int>(tree.size());
    const T covered = prefixOf(tree, slot - 1) - prefixOf(tree, slot - lowBit(slot));
    tree.push_back(value + covered);
}

} // namespace

void RowOffsets::clear() {
    rebuild({});
}

void RowOffsets::assign(const std::vector<Length>& lengths) {
    rebuild(lengths);
}

void RowOffsets::rebuild(std::vector<Length> lengths) {
    const std::size_t n = lengths.size();
    slotLength_.assign(n + 1, 0);
    lengthTree_.assign(n + 1, 0);
    liveTree_.assign(n + 1, 0);
    total_ = 0;
    for (std::size_t i = 0; i < n; ++i) {
        slotLength_[i + 1] = lengths[i];
        lengthTree_[i + 1] = lengths[i];
        liveTree_[i + 1] = 1;
        total_ += lengths[i];
    }
    buildTree(lengthTree_);
    buildTree(liveTree_);
    live_ = static_cast<int>(n);
}

void RowOffsets::pushBack(Length length) {
    assert(length > 0);
    slotLength_.push_back(length);
    appendTo(lengthTree_, length);
    appendTo(liveTree_, std::int32_t{1});
    ++live_;
    total_ += length;
}

void RowOffsets::erase(int index) {
    const int slot = slotOf(index);
    const Length length = slotLength_[static_cast<std::size_t>(slot)];
    addAt(lengthTree_, slot, -length);
    addAt(liveTree_, slot, std::int32_t{-1});
    slotLength_[static_cast<std::size_t>(slot)] = 0;
    --live_;
    total_ -= length;
    // Keep the trees no more than about twice the live rows, so lookups stay O(log n).
    const int slots = static_cast<int>(slotLength_.size()) - 1;
    if (slots - live_ > live_ + 64) {
        std::vector<Length> lengths;
        lengths.reserve(static_cast<std::size_t>(live_));
        for (int s = 1; s <= slots; ++s) {
            if (slotLength_[static_cast<std::size_t>(s)] > 0) {
                lengths.push_back(slotLength_[static_cast<std::size_t>(s)]);
            }
        }
        rebuild(std::move(lengths));
    }
}

void RowOffsets::eraseFlagged(const std::vector<bool>& remove) {
    if (static_cast<int>(remove.size()) != live_) {
        throw std::invalid_argument("one flag per row expected");
    }
    std::vector<Length> kept;
    kept.reserve(static_cast<std::size_t>(live_));
    int index = 0;
    for (std::size_t s = 1; s < slotLength_.size(); ++s) {
        if (slotLength_[s] > 0) {
            if (!remove[static_cast<std::size_t>(index)]) {
                kept.push_back(slotLength_[s]);
            }
            ++index;
        }
    }
    rebuild(std::move(kept));
}

void RowOffsets::setLength(int index, Length length) {
    assert(length > 0);
    const int slot = slotOf(index);
    const Length delta = length - slotLength_[static_cast<std::size_t>(slot)];
    addAt(lengthTree_, slot, delta);
    slotLength_[static_cast<std::size_t>(slot)] = length;
    total_ += delta;
}

RowOffsets::Length RowOffsets::length(int index) const {
    return slotLength_[static_cast<std::size_t>(slotOf(index))];
}

RowOffsets::Length RowOffsets::offset(int index) const {
    if (index == live_) {
        return total_;
    }
    return lengthPrefix(slotOf(index) - 1);
}

int RowOffsets::indexAt(Length position) const {
    if (position < 0 || position >= total_) {
        return -1;
    }
    // The first slot whose prefix exceeds the position has a positive length, so it is
    // a live row.
    const int slot = lastSlotAtMost(lengthTree_, position) + 1;
    return livePrefix(slot) - 1;
}

int RowOffsets::slotOf(int index) const {
    if (index < 0 || index >= live_) {
        throw std::out_of_range("no such row");
    }
    return lastSlotAtMost(liveTree_, static_cast<std::int32_t>(index)) + 1;
}

RowOffsets::Length RowOffsets::lengthPrefix(int slot) const {
    return prefixOf(lengthTree_, slot);
}

int RowOffsets::livePrefix(int slot) const {
    return prefixOf(liveTree_, slot);
}

} // namespace qrb
