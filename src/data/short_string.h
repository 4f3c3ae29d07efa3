#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kiv {

// A byte string of fixed capacity N (at most 255), as the game keeps its texts: assigning a
// longer value cuts it to N bytes. Positions are 1-based, and no helper reads or writes
// outside the N bytes, whatever index or count it is given.
template <int N>
struct ShortString {
    static_assert(N > 0 && N <= 255, "capacity of a short string is 1..255");

    uint8_t Len = 0;
    std::array<char, N> Bytes{};

    ShortString() = default;
    ShortString(std::string_view s) { Assign(s); }  // NOLINT: converting like the original's strings
    ShortString(const char* s) { Assign(std::string_view(s)); }

    template <int M>
    ShortString(const ShortString<M>& other) {
        Assign(other.View());
    }

    ShortString& operator=(std::string_view s) {
        Assign(s);
        return *this;
    }
    ShortString& operator=(const char* s) {
        Assign(std::string_view(s));
        return *this;
    }

    void Assign(std::string_view s) {
        Len = static_cast<uint8_t>(std::min<size_t>(s.size(), N));
        if (Len > 0) std::memcpy(Bytes.data(), s.data(), Len);
    }

    static constexpr int Capacity() { return N; }
    int Length() const { return Len; }
    bool Empty() const { return Len == 0; }
    std::string_view View() const { return std::string_view(Bytes.data(), Len); }
    std::string Str() const { return std::string(View()); }

    // Byte at 1-based position i; 0 outside the string.
    uint8_t At(int i) const { return (i >= 1 && i <= Len) ? static_cast<uint8_t>(Bytes[i - 1]) : 0; }

    bool operator==(std::string_view s) const { return View() == s; }
    template <int M>
    bool operator==(const ShortString<M>& o) const {
        return View() == o.View();
    }

    // First 1-based position of sub at or after position from, 0 when there is none or sub is empty.
    int Pos(std::string_view sub, int from = 1) const {
        from = std::max(from, 1);
        if (sub.empty() || from > Len) return 0;
        size_t p = View().find(sub, static_cast<size_t>(from - 1));
        return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
    }

    // Copy(S, index, count): index below 1 counts as 1, past the end gives ''.
    std::string Copy(int index, int count) const {
        if (index < 1) index = 1;
        if (index > Len || count <= 0) return std::string();
        int avail = Len - index + 1;
        return std::string(Bytes.data() + index - 1, static_cast<size_t>(std::min(count, avail)));
    }

    // Delete(S, index, count): nothing for an index outside 1..Length or a count below 1.
    void Delete(int index, int count) {
        if (index < 1 || index > Len || count <= 0) return;
        int n = std::min(count, Len - index + 1);
        std::memmove(Bytes.data() + index - 1, Bytes.data() + index - 1 + n, static_cast<size_t>(Len - index + 1 - n));
        Len = static_cast<uint8_t>(Len - n);
    }

    // Insert(src, S, index): index clamped to 1..Length+1, the result cut to the capacity.
    void Insert(std::string_view src, int index) {
        index = std::clamp(index, 1, Len + 1);
        std::string s = Str();
        s.insert(static_cast<size_t>(index - 1), src);
        Assign(s);
    }

    void Append(std::string_view src) { Insert(src, Len + 1); }
};

}  // namespace kiv
