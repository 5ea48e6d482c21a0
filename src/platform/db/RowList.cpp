// The rows of a dataset's view in blocks: positions, inserts, removals and searches.
#include "platform/db/RowList.h"

#include <algorithm>
#include <cassert>

namespace db {

namespace {

// Blocks are split at twice this size; a full list is cut into blocks of this size.
constexpr size_t blockSize = 512;

} // namespace

RowList& RowList::operator=(const std::vector<int>& rows)
{
    // Blocks that stay keep their storage: a detail refilled on every move of its master
    // allocates nothing once it has held that many rows.
    const size_t blocks = (rows.size() + blockSize - 1) / blockSize;
    if (blocks == 0 && !m_blocks.empty()) {
        m_blocks.front().clear();
        m_spare = std::move(m_blocks.front());
    }
    m_blocks.resize(blocks);
    m_starts.resize(blocks);
    for (size_t b = 0; b < blocks; ++b) {
        const size_t from = b * blockSize;
        const size_t to = std::min(rows.size(), from + blockSize);
        if (b == 0 && m_blocks[b].capacity() == 0)
            m_blocks[b] = std::move(m_spare);
        m_blocks[b].assign(rows.begin() + std::ptrdiff_t(from), rows.begin() + std::ptrdiff_t(to));
        m_starts[b] = from;
    }
    m_size = rows.size();
    return *this;
}

void RowList::clear()
{
    m_blocks.clear();
    m_starts.clear();
    m_size = 0;
}

size_t RowList::blockOf(size_t row) const
{
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), row);
    return size_t(after - m_starts.begin()) - 1;
}

int RowList::atLaterBlock(size_t row) const
{
    assert(row < m_size);
    const size_t block = blockOf(row);
    return m_blocks[block][row - m_starts[block]];
}

void RowList::renumberFrom(size_t block)
{
    for (size_t b = block; b < m_blocks.size(); ++b)
        m_starts[b] = b == 0 ? 0 : m_starts[b - 1] + m_blocks[b - 1].size();
}

void RowList::insert(size_t row, int record)
{
    assert(row <= m_size);
    if (m_blocks.empty()) {
        m_blocks.push_back({record});
        m_starts.push_back(0);
        m_size = 1;
        return;
    }
    // Past the end goes into the last block.
    const size_t block = row == m_size ? m_blocks.size() - 1 : blockOf(row);
    std::vector<int>& rows = m_blocks[block];
    rows.insert(rows.begin() + std::ptrdiff_t(row - m_starts[block]), record);
    ++m_size;
    if (rows.size() >= 2 * blockSize) {
        std::vector<int> upper(rows.begin() + std::ptrdiff_t(blockSize), rows.end());
        rows.resize(blockSize);
        m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(block) + 1, std::move(upper));
        m_starts.insert(m_starts.begin() + std::ptrdiff_t(block) + 1, 0);
    }
    renumberFrom(block + 1);
}

void RowList::erase(size_t row)
{
    assert(row < m_size);
    const size_t block = blockOf(row);
    std::vector<int>& rows = m_blocks[block];
    rows.erase(rows.begin() + std::ptrdiff_t(row - m_starts[block]));
    --m_size;
    if (rows.empty()) {
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(block));
        m_starts.erase(m_starts.begin() + std::ptrdiff_t(block));
        renumberFrom(block);
    } else {
        renumberFrom(block + 1);
    }
}

int RowList::indexOf(int record) const
{
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const auto it = std::find(m_blocks[b].begin(), m_blocks[b].end(), record);
        if (it != m_blocks[b].end())
            return int(m_starts[b] + size_t(it - m_blocks[b].begin()));
    }
    return -1;
}

} // namespace db
