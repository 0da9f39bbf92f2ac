#include "editing/RowOffsets.h"

#include <cassert>
#include <stdexcept>

namespace qrb {

void RowOffsets::clear() {
    nodes_.clear();
    freeNodes_.clear();
    root_ = kNone;
}

std::uint32_t RowOffsets::nextPriority() {
    // xorshift32: priorities only need to look random for the tree to stay balanced.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    return seed_;
}

int RowOffsets::newNode(Length length) {
    Node node;
    node.length = length;
    node.sum = length;
    node.count = 1;
    node.priority = nextPriority();
    if (!freeNodes_.empty()) {
        const int slot = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[index(slot)] = node;
        return slot;
    }
    nodes_.push_back(node);
    return static_cast<int>(nodes_.size()) - 1;
}

void RowOffsets::update(int node) {
    Node& n = nodes_[index(node)];
    n.count = 1 + countOf(n.left) + countOf(n.right);
    n.sum = n.length + sumOf(n.left) + sumOf(n.right);
}

void RowOffsets::assign(const std::vector<Length>& lengths) {
    clear();
    nodes_.reserve(lengths.size());
    // A Cartesian tree over the rows in order, built with a stack of the right spine.
    std::vector<int> spine;
    for (const Length length : lengths) {
        assert(length > 0);
        const int node = newNode(length);
        int last = kNone;
        while (!spine.empty() &&
               nodes_[index(spine.back())].priority < nodes_[index(node)].priority) {
            last = spine.back();
            spine.pop_back();
        }
        nodes_[index(node)].left = last;
        if (!spine.empty()) {
            nodes_[index(spine.back())].right = node;
        }
        spine.push_back(node);
    }
    if (spine.empty()) {
        return;
    }
    root_ = spine.front();
    // Counts and sums bottom-up: children before parents (post-order, iteratively).
    std::vector<std::pair<int, bool>> stack{{root_, false}};
    while (!stack.empty()) {
        auto [node, childrenDone] = stack.back();
        stack.pop_back();
        if (childrenDone) {
            update(node);
            continue;
        }
        stack.push_back({node, true});
        for (const int child : {nodes_[index(node)].left, nodes_[index(node)].right}) {
            if (child != kNone) {
                stack.push_back({child, false});
            }
        }
    }
}

void RowOffsets::split(int node, int leftCount, int& left, int& right) {
    if (node == kNone) {
        left = right = kNone;
        return;
    }
    Node& n = nodes_[index(node)];
    const int before = countOf(n.left);
    if (leftCount <= before) {
        int innerRight = kNone;
        split(n.left, leftCount, left, innerRight);
        nodes_[index(node)].left = innerRight;
        right = node;
    } else {
        int innerLeft = kNone;
        split(n.right, leftCount - before - 1, innerLeft, right);
        nodes_[index(node)].right = innerLeft;
        left = node;
    }
    update(node);
}

int RowOffsets::merge(int left, int right) {
    if (left == kNone) {
        return right;
    }
    if (right == kNone) {
        return left;
    }
    if (nodes_[index(left)].priority > nodes_[index(right)].priority) {
        const int merged = merge(nodes_[index(left)].right, right);
        nodes_[index(left)].right = merged;
        update(left);
        return left;
    }
    const int merged = merge(left, nodes_[index(right)].left);
    nodes_[index(right)].left = merged;
    update(right);
    return right;
}

void RowOffsets::checkIndex(int i) const {
    if (i < 0 || i >= size()) {
        throw std::out_of_range("no such row");
    }
}

void RowOffsets::insert(int at, Length length) {
    assert(length > 0);
    if (at < 0 || at > size()) {
        throw std::out_of_range("no such row");
    }
    const int node = newNode(length);
    int left = kNone;
    int right = kNone;
    split(root_, at, left, right);
    root_ = merge(merge(left, node), right);
}

void RowOffsets::erase(int at) {
    checkIndex(at);
    int left = kNone;
    int rest = kNone;
    int middle = kNone;
    int right = kNone;
    split(root_, at, left, rest);
    split(rest, 1, middle, right);
    freeNodes_.push_back(middle);
    root_ = merge(left, right);
}

void RowOffsets::collect(std::vector<Length>& lengths) const {
    // In order, iteratively.
    std::vector<int> stack;
    int node = root_;
    while (node != kNone || !stack.empty()) {
        while (node != kNone) {
            stack.push_back(node);
            node = nodes_[index(node)].left;
        }
        node = stack.back();
        stack.pop_back();
        lengths.push_back(nodes_[index(node)].length);
        node = nodes_[index(node)].right;
    }
}

void RowOffsets::eraseFlagged(const std::vector<bool>& remove) {
    if (static_cast<int>(remove.size()) != size()) {
        throw std::invalid_argument("one flag per row expected");
    }
    std::vector<Length> all;
    all.reserve(remove.size());
    collect(all);
    std::vector<Length> kept;
    kept.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!remove[i]) {
            kept.push_back(all[i]);
        }
    }
    assign(kept);
}

int RowOffsets::nodeAt(int at, std::vector<int>* path) const {
    checkIndex(at);
    int node = root_;
    for (;;) {
        if (path)
            path->push_back(node);
        const Node& n = nodes_[index(node)];
        const int before = countOf(n.left);
        if (at < before) {
            node = n.left;
        } else if (at == before) {
            return node;
        } else {
            at -= before + 1;
            node = n.right;
        }
    }
}

void RowOffsets::setLength(int at, Length length) {
    assert(length > 0);
    // Down to the row, remembering the way, then the sums back up.
    std::vector<int> path;
    const int node = nodeAt(at, &path);
    nodes_[index(node)].length = length;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        update(*it);
    }
}

RowOffsets::Length RowOffsets::length(int at) const {
    return nodes_[index(nodeAt(at))].length;
}

RowOffsets::Length RowOffsets::offset(int at) const {
    if (at == size()) {
        return total();
    }
    checkIndex(at);
    Length sum = 0;
    int node = root_;
    for (;;) {
        const Node& n = nodes_[index(node)];
        const int before = countOf(n.left);
        if (at < before) {
            node = n.left;
        } else if (at == before) {
            return sum + sumOf(n.left);
        } else {
            sum += sumOf(n.left) + n.length;
            at -= before + 1;
            node = n.right;
        }
    }
}

int RowOffsets::indexAt(Length position) const {
    if (position < 0 || position >= total()) {
        return -1;
    }
    int result = 0;
    int node = root_;
    for (;;) {
        const Node& n = nodes_[index(node)];
        const Length leftSum = sumOf(n.left);
        if (position < leftSum) {
            node = n.left;
        } else if (position < leftSum + n.length) {
            return result + countOf(n.left);
        } else {
            position -= leftSum + n.length;
            result += countOf(n.left) + 1;
            node = n.right;
        }
    }
}

} // namespace qrb
