#pragma once
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// The device log: the last kLimit device lines ("INPUT  : ..." / "OUTPUT : ..."),
// oldest first. A ring of strings that keep their memory, so that a run writing
// millions of lines allocates nothing once the ring is full.
class CDeviceLog {
public:
    static constexpr size_t kLimit = 1000;

    void Add(std::string_view prefix, std::string_view text)
    {
        std::string& slot = m_count < kLimit ? m_lines.emplace_back() : m_lines[m_first];
        if (m_count == kLimit)
            m_first = (m_first + 1) % kLimit;
        else
            ++m_count;
        slot.assign(prefix);
        slot.append(text);
    }
    void Clear()
    {
        m_lines.clear();
        m_first = m_count = 0;
    }
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const std::string& operator[](size_t i) const { return m_lines[(m_first + i) % m_lines.size()]; }
    const std::string& front() const { return (*this)[0]; }
    const std::string& back() const { return (*this)[m_count - 1]; }

    class const_iterator {
    public:
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using reference = const std::string&;
        using pointer = const std::string*;
        using iterator_category = std::forward_iterator_tag;
        const_iterator(const CDeviceLog* log, size_t i) : m_log(log), m_i(i) {}
        reference operator*() const { return (*m_log)[m_i]; }
        pointer operator->() const { return &(*m_log)[m_i]; }
        const_iterator& operator++()
        {
            ++m_i;
            return *this;
        }
        const_iterator operator++(int)
        {
            auto old = *this;
            ++m_i;
            return old;
        }
        bool operator==(const const_iterator& o) const { return m_i == o.m_i; }
        bool operator!=(const const_iterator& o) const { return m_i != o.m_i; }

    private:
        const CDeviceLog* m_log;
        size_t m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_count}; }

private:
    std::vector<std::string> m_lines;
    size_t m_first = 0;
    size_t m_count = 0;
};
