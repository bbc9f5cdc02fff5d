#include "Json.h"

#include <cstdio>

CJson CJson::Object()
{
    return CJson(EKind::Object);
}

CJson CJson::Array()
{
    return CJson(EKind::Array);
}

CJson::CJson(bool value) : m_kind(EKind::Bool), m_bool(value) {}
CJson::CJson(int32_t value) : m_kind(EKind::Int), m_int(value) {}
CJson::CJson(int64_t value) : m_kind(EKind::Int), m_int(value) {}
CJson::CJson(uint32_t value) : m_kind(EKind::Int), m_int(value) {}
CJson::CJson(const char* utf8) : m_kind(EKind::String), m_text(utf8) {}
CJson::CJson(std::string utf8) : m_kind(EKind::String), m_text(std::move(utf8)) {}

CJson& CJson::Add(std::string key, CJson value)
{
    m_members.emplace_back(std::move(key), std::move(value));
    return *this;
}

CJson& CJson::Push(CJson value)
{
    m_members.emplace_back(std::string(), std::move(value));
    return *this;
}

bool CJson::IsFlat() const
{
    for (const auto& member : m_members)
    {
        if (!member.second.IsScalar())
            return false;
    }
    return true;
}

namespace
{

// Length of the valid UTF-8 sequence at text[i], or 0 when it is malformed.
size_t Utf8Length(const std::string& text, size_t i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t min = 0;
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
        length = 2, min = 0x80;
    else if ((b & 0xF0) == 0xE0)
        length = 3, min = 0x800;
    else if ((b & 0xF8) == 0xF0)
        length = 4, min = 0x10000;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    uint32_t code = b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
    {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string JsonQuote(const std::string& utf8)
{
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();)
    {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80)
        {
            const size_t length = Utf8Length(utf8, i);
            if (length == 0)
            {
                out += "\xEF\xBF\xBD";
                ++i;
            }
            else
            {
                out.append(utf8, i, length);
                i += length;
            }
            continue;
        }
        switch (c)
        {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F)
            {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            }
            else
            {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

void CJson::PrintTo(std::string& out, int indent) const
{
    switch (m_kind)
    {
    case EKind::Null:
        out += "null";
        return;
    case EKind::Bool:
        out += m_bool ? "true" : "false";
        return;
    case EKind::Int:
        out += std::to_string(m_int);
        return;
    case EKind::String:
        out += JsonQuote(m_text);
        return;
    case EKind::Array:
    case EKind::Object:
        break;
    }
    const bool object = m_kind == EKind::Object;
    const char open = object ? '{' : '[';
    const char close = object ? '}' : ']';
    if (m_members.empty())
    {
        out += open;
        out += close;
        return;
    }
    const bool flat = IsFlat();
    const std::string inner(static_cast<size_t>(indent + 2), ' ');
    out += open;
    for (size_t i = 0; i < m_members.size(); ++i)
    {
        if (i > 0)
            out += flat ? ", " : ",";
        if (!flat)
        {
            out += '\n';
            out += inner;
        }
        if (object)
        {
            out += JsonQuote(m_members[i].first);
            out += ": ";
        }
        m_members[i].second.PrintTo(out, indent + 2);
    }
    if (!flat)
    {
        out += '\n';
        out += std::string(static_cast<size_t>(indent), ' ');
    }
    out += close;
}

std::string CJson::Print() const
{
    std::string out;
    PrintTo(out, 0);
    return out;
}
