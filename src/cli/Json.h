#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A JSON value built in memory and printed once: objects keep their keys in
// the order they were added. Printing puts an object or array on one line
// when it holds only scalars, otherwise one member per line.
class CJson
{
public:
    enum class EKind
    {
        Null,
        Bool,
        Int,
        String,
        Array,
        Object,
    };

    CJson() = default;
    static CJson Object();
    static CJson Array();
    CJson(bool value);
    CJson(int32_t value);
    CJson(int64_t value);
    CJson(uint32_t value);
    CJson(const char* utf8);
    CJson(std::string utf8);

    // Object: appends a member (keys are not checked for repeats).
    CJson& Add(std::string key, CJson value);
    // Array: appends an element.
    CJson& Push(CJson value);

    EKind Kind() const { return m_kind; }
    std::string Print() const;

private:
    explicit CJson(EKind kind) : m_kind(kind) {}
    bool IsScalar() const { return m_kind != EKind::Array && m_kind != EKind::Object; }
    bool IsFlat() const;
    void PrintTo(std::string& out, int indent) const;

    EKind m_kind = EKind::Null;
    bool m_bool = false;
    int64_t m_int = 0;
    std::string m_text;
    std::vector<std::pair<std::string, CJson>> m_members;  // arrays leave the keys empty
};

// A JSON string literal of UTF-8 text, quotes included; invalid UTF-8 bytes
// become U+FFFD.
std::string JsonQuote(const std::string& utf8);
