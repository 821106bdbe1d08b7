#pragma once
// The records of a store in list order, held so that a record inserted or
// removed in the middle of a long file moves no other record: the records
// stay where they were put, and a small array of their places gives the list
// order. Inserting in the middle of 100,000 fill-ups then shifts 400 KB of
// places instead of 48 MB of records.
//
// Positions are list positions (0 = the first record of the list). Writing
// the records in list order goes through for_each_run, which hands out the
// longest stretches that lie side by side in memory (all of them at once
// while the places are in order, as after a load).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/large_memory.h"

namespace kelvane {

// The allocator of the records' own array. A long account's array comes
// from the system in large pages, and room made for records is not zeroed
// first: whoever makes room writes the records whole (a load reads them
// straight into it).
template <class T>
class record_allocator {
public:
    using value_type = T;

    record_allocator() = default;
    template <class U>
    record_allocator(const record_allocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n * sizeof(T) < large_block_bytes) return std::allocator<T>().allocate(n);
        if (void* block = allocate_large(n * sizeof(T))) return static_cast<T*>(block);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) < large_block_bytes)
            std::allocator<T>().deallocate(p, n);
        else
            free_large(p, n * sizeof(T));
    }
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const record_allocator<U>&) const noexcept {
        return true;
    }
};

template <class R>
class placed_records {
    template <bool Const>
    class basic_iterator {
        using list_type = std::conditional_t<Const, const placed_records, placed_records>;

    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = R;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const R*, R*>;
        using reference = std::conditional_t<Const, const R&, R&>;

        basic_iterator() = default;
        basic_iterator(list_type* list, std::size_t at) : list_(list), at_(at) {}
        operator basic_iterator<true>() const { return {list_, at_}; }

        reference operator*() const { return (*list_)[at_]; }
        pointer operator->() const { return &(*list_)[at_]; }
        reference operator[](difference_type n) const { return (*list_)[at_ + n]; }
        basic_iterator& operator++() { return ++at_, *this; }
        basic_iterator operator++(int) { return {list_, at_++}; }
        basic_iterator& operator--() { return --at_, *this; }
        basic_iterator operator--(int) { return {list_, at_--}; }
        basic_iterator& operator+=(difference_type n) { return at_ += n, *this; }
        basic_iterator& operator-=(difference_type n) { return at_ -= n, *this; }
        friend basic_iterator operator+(basic_iterator i, difference_type n) { return i += n; }
        friend basic_iterator operator+(difference_type n, basic_iterator i) { return i += n; }
        friend basic_iterator operator-(basic_iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const basic_iterator& a, const basic_iterator& b) {
            return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
        }
        friend bool operator==(const basic_iterator& a, const basic_iterator& b) {
            return a.at_ == b.at_;
        }
        friend auto operator<=>(const basic_iterator& a, const basic_iterator& b) {
            return a.at_ <=> b.at_;
        }
        std::size_t position() const { return at_; }

    private:
        list_type* list_ = nullptr;
        std::size_t at_ = 0;
    };

public:
    using value_type = R;
    using iterator = basic_iterator<false>;
    using const_iterator = basic_iterator<true>;

    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    R& operator[](std::size_t position) { return slots_[order_[position]]; }
    const R& operator[](std::size_t position) const { return slots_[order_[position]]; }
    R& back() { return slots_[order_.back()]; }
    const R& back() const { return slots_[order_.back()]; }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size()}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    std::size_t capacity() const { return slots_.capacity(); }
    void reserve(std::size_t n) {
        slots_.reserve(n);
        order_.reserve(n);
    }
    void clear() {
        slots_.clear();
        order_.clear();
        in_order_ = true;
    }
    void push_back(const R& r) {
        order_.push_back(static_cast<std::uint32_t>(slots_.size()));
        slots_.push_back(r);
    }
    // Makes room for up to `count` records after the last, lets `fill` write
    // records from the start of that room and say how many it wrote, and
    // keeps those at the end of the list.
    template <class Fill>
    std::size_t append_filled(std::size_t count, Fill fill) {
        const std::size_t before = slots_.size();
        slots_.resize(before + count);
        const std::size_t written = fill(slots_.data() + before, count);
        slots_.resize(before + written);
        order_.reserve(before + written);
        for (std::size_t i = 0; i < written; ++i)
            order_.push_back(static_cast<std::uint32_t>(before + i));
        return written;
    }
    void insert(std::size_t position, const R& r) {
        if (position == size()) return push_back(r);
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position),
                      static_cast<std::uint32_t>(slots_.size()));
        slots_.push_back(r);
        in_order_ = false;
    }
    void erase(std::size_t position) {
        const std::uint32_t place = order_[position];
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
        const auto last = static_cast<std::uint32_t>(slots_.size() - 1);
        if (place != last) {
            // The last record in memory fills the hole, and its place follows it.
            slots_[place] = slots_[last];
            *std::find(order_.begin(), order_.end(), last) = place;
            in_order_ = false;
        }
        slots_.pop_back();
    }
    // Removes every record the predicate holds for; the others keep their order.
    template <class Pred>
    std::size_t erase_if(Pred pred) {
        std::vector<R, record_allocator<R>> kept;
        kept.reserve(size());
        for (const R& r : *this)
            if (!pred(r)) kept.push_back(r);
        const std::size_t removed = size() - kept.size();
        slots_ = std::move(kept);
        order_.resize(slots_.size());
        for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<std::uint32_t>(i);
        in_order_ = true;
        return removed;
    }

    // Puts the list in a new order: the record at new position k is the one
    // that was at position `from[k]`. `from` must be a permutation of the positions.
    void reorder(const std::vector<std::uint32_t>& from) {
        std::vector<std::uint32_t> order(from.size());
        for (std::size_t k = 0; k < from.size(); ++k) order[k] = order_[from[k]];
        order_ = std::move(order);
        in_order_ = false;
    }

    // Moves the records in memory into list order (one record at a time, in
    // place), so that a long walk over the list reads memory straight through.
    void make_contiguous() {
        if (in_order_) return;
        // Position k must receive the record at place order_[k]. Each cycle of
        // the permutation is walked once, keeping one record aside.
        std::vector<bool> done(order_.size(), false);
        for (std::size_t start = 0; start < order_.size(); ++start) {
            if (done[start] || order_[start] == start) {
                done[start] = true;
                continue;
            }
            R held = slots_[start];
            std::size_t k = start;
            while (true) {
                done[k] = true;
                const std::size_t from = order_[k];
                if (from == start) {
                    slots_[k] = held;
                    break;
                }
                slots_[k] = slots_[from];
                k = from;
            }
        }
        for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<std::uint32_t>(i);
        in_order_ = true;
    }

    // Calls f(first, count) for the records from position `from` to the end,
    // in list order, in stretches that lie side by side in memory; stretches
    // of scattered records are gathered into a buffer first. Stops when f
    // returns false, and returns false then.
    template <class F>
    bool for_each_run(std::size_t from, F f) const {
        const std::size_t n = size();
        if (from >= n) return true;
        if (in_order_ || runs_in_order(from)) return f(&slots_[order_[from]], n - from);
        constexpr std::size_t gather = 256;
        std::vector<R> buffer;
        std::size_t k = from;
        while (k < n) {
            // A long enough stretch in place is handed out as it is.
            std::size_t run = 1;
            while (k + run < n && order_[k + run] == order_[k] + run) ++run;
            if (run >= gather / 4) {
                if (!f(&slots_[order_[k]], run)) return false;
                k += run;
                continue;
            }
            if (buffer.capacity() < gather) buffer.reserve(gather);
            buffer.clear();
            while (k < n && buffer.size() < gather) buffer.push_back(slots_[order_[k++]]);
            if (!f(buffer.data(), buffer.size())) return false;
        }
        return true;
    }

private:
    bool runs_in_order(std::size_t from) const {
        for (std::size_t k = from + 1; k < order_.size(); ++k)
            if (order_[k] != order_[k - 1] + 1) return false;
        return true;
    }

    std::vector<R, record_allocator<R>> slots_;  // the records, where they were put
    std::vector<std::uint32_t> order_;           // place in slots_ of each list position
    bool in_order_ = true;                       // order_[k] == k for every k
};

}  // namespace kelvane
