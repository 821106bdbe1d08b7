#pragma once
// The costs and mileages of a store's records in list order, with the cost
// total up to each record, kept beside the records so that an insert,
// update or deletion in the middle brings the header's totals up to date
// without reading every record.
//
// The totals are added up exactly as a walk over the whole list adds them
// (from 0, oldest record first), so they come out bit for bit the same as
// that walk: a header written after a change in the middle holds what a
// full recompute would have written. A change at position p only adds up
// the records from p on again, in a compact array.

#include <cstddef>
#include <vector>

namespace kelvane {

class running_totals {
public:
    std::size_t size() const { return entries_.size(); }
    void clear() { entries_.clear(); }
    void reserve(std::size_t n) { entries_.reserve(n); }
    // The total of every cost, as the walk from the oldest record gives it.
    double total() const { return entries_.empty() ? 0.0 : entries_.back().sum; }
    double mileage(std::size_t position) const { return entries_[position].mileage; }

    void push_back(double cost, double mileage) {
        entries_.push_back({cost, sum_before(entries_.size()) + cost, mileage});
    }
    void insert(std::size_t position, double cost, double mileage) {
        // One pass shifts the later entries up and adds them up again.
        entry carried{cost, 0, mileage};
        entries_.push_back(carried);
        double sum = sum_before(position);
        for (std::size_t k = position; k < entries_.size(); ++k) {
            const entry next = entries_[k];
            sum += carried.cost;
            entries_[k] = {carried.cost, sum, carried.mileage};
            carried = next;
        }
    }
    void erase(std::size_t position) {
        double sum = sum_before(position);
        for (std::size_t k = position; k + 1 < entries_.size(); ++k) {
            const entry next = entries_[k + 1];
            sum += next.cost;
            entries_[k] = {next.cost, sum, next.mileage};
        }
        entries_.pop_back();
    }
    void set(std::size_t position, double cost, double mileage) {
        entries_[position].cost = cost;
        entries_[position].mileage = mileage;
        double sum = sum_before(position);
        for (std::size_t k = position; k < entries_.size(); ++k) {
            sum += entries_[k].cost;
            entries_[k].sum = sum;
        }
    }

    // The largest mileage as a walk that starts at `start` and takes every
    // larger one finds it (the first of equal ones stays).
    double largest_mileage(double start) const {
        double largest = start;
        for (const entry& e : entries_)
            if (e.mileage > largest) largest = e.mileage;
        return largest;
    }

private:
    struct entry {
        double cost;
        double sum;  // of the costs up to and including this one
        double mileage;
    };
    double sum_before(std::size_t position) const {
        return position == 0 ? 0.0 : entries_[position - 1].sum;
    }

    std::vector<entry> entries_;
};

}  // namespace kelvane
