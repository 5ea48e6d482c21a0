// The rows of a dataset's view: record ids in row order, with cheap inserts and removals anywhere.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace db {

// Record ids by row, held in blocks of a few hundred so that inserting or removing a row moves
// one block, not the whole list: a post into an order of 100 000 rows stays as cheap as an
// append. Rows are read by position in O(log blocks); the const iterator is random access, so
// std::lower_bound and std::partition_point search it as they would a vector.
class RowList
{
public:
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = int;
        using difference_type = std::ptrdiff_t;
        using pointer = const int*;
        using reference = int;

        const_iterator() = default;
        const_iterator(const RowList* list, difference_type row) : m_list(list), m_row(row) {}

        int operator*() const { return (*m_list)[size_t(m_row)]; }
        int operator[](difference_type n) const { return (*m_list)[size_t(m_row + n)]; }
        const_iterator& operator++() { ++m_row; return *this; }
        const_iterator operator++(int) { const_iterator old = *this; ++m_row; return old; }
        const_iterator& operator--() { --m_row; return *this; }
        const_iterator operator--(int) { const_iterator old = *this; --m_row; return old; }
        const_iterator& operator+=(difference_type n) { m_row += n; return *this; }
        const_iterator& operator-=(difference_type n) { m_row -= n; return *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) { return a.m_row - b.m_row; }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.m_row == b.m_row; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.m_row <=> b.m_row; }

    private:
        const RowList* m_list = nullptr;
        difference_type m_row = 0;
    };

    RowList() = default;
    RowList& operator=(const std::vector<int>& rows);

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void clear();
    // The record id at row (0 <= row < size()); rows of the first block need no search.
    int operator[](size_t row) const
    {
        if (!m_blocks.empty() && row < m_blocks.front().size())
            return m_blocks.front()[row];
        return atLaterBlock(row);
    }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, std::ptrdiff_t(m_size)); }

    // Inserts before row (0 <= row <= size()); removes the row (0 <= row < size()).
    void insert(size_t row, int record);
    void erase(size_t row);
    // Row of the record id, -1 when it is not in the list (a scan).
    int indexOf(int record) const;
    // In a list sorted by isBefore, the first row whose record is not before `record`: the block
    // is found by its last entry, then the row within it.
    template<class Less>
    size_t lowerBound(int record, Less isBefore) const
    {
        const auto block = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                                [&](const std::vector<int>& b) { return isBefore(b.back(), record); });
        if (block == m_blocks.end())
            return m_size;
        const auto at = std::lower_bound(block->begin(), block->end(), record, isBefore);
        return m_starts[size_t(block - m_blocks.begin())] + size_t(at - block->begin());
    }

private:
    int atLaterBlock(size_t row) const;
    size_t blockOf(size_t row) const;
    void renumberFrom(size_t block);

    std::vector<std::vector<int>> m_blocks;   // none empty
    std::vector<size_t> m_starts;             // row of each block's first entry
    std::vector<int> m_spare;                 // storage of the first block while the list is empty
    size_t m_size = 0;
};

} // namespace db
