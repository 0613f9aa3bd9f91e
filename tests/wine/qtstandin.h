#pragma once

// The few Qt types the code page codec uses, over the standard library, so that the codec
// builds for Windows with MinGW alone and can be compared with Windows' own conversions.
// The build makes headers <QString>, <QHash>, ... that include this one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

using uchar = unsigned char;
using quint16 = std::uint16_t;
using qsizetype = std::ptrdiff_t;

class QChar
{
public:
    constexpr QChar(char16_t c) : code(c) {}
    constexpr QChar(uchar latin1) : code(latin1) {}
    constexpr char16_t unicode() const { return code; }

private:
    char16_t code;
};

class QString
{
public:
    void reserve(qsizetype n) { text.reserve(size_t(n)); }
    void append(QChar c) { text.push_back(c.unicode()); }
    const std::u16string &utf16() const { return text; }

private:
    std::u16string text;
};

class QStringView
{
public:
    constexpr QStringView(std::u16string_view text) : text(text) {}
    constexpr qsizetype size() const { return qsizetype(text.size()); }
    constexpr auto begin() const { return text.begin(); }
    constexpr auto end() const { return text.end(); }

private:
    std::u16string_view text;
};

class QByteArray
{
public:
    void reserve(qsizetype n) { bytes.reserve(size_t(n)); }
    void append(char c) { bytes.push_back(c); }
    const std::string &data() const { return bytes; }

private:
    std::string bytes;
};

class QByteArrayView
{
public:
    constexpr QByteArrayView(std::string_view bytes) : bytes(bytes) {}
    constexpr qsizetype size() const { return qsizetype(bytes.size()); }
    constexpr char operator[](qsizetype i) const { return bytes[size_t(i)]; }

private:
    std::string_view bytes;
};

template <typename Key, typename Value> class QHash
{
public:
    class const_iterator
    {
    public:
        explicit const_iterator(typename std::unordered_map<Key, Value>::const_iterator at) : at(at) {}
        const Value &operator*() const { return at->second; }
        bool operator==(const const_iterator &) const = default;

    private:
        typename std::unordered_map<Key, Value>::const_iterator at;
    };

    const_iterator constFind(const Key &key) const { return const_iterator(map.find(key)); }
    const_iterator cend() const { return const_iterator(map.cend()); }
    void insert(const Key &key, const Value &value) { map.insert_or_assign(key, value); }

private:
    std::unordered_map<Key, Value> map;
};
