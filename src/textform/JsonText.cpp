#include "JsonText.h"
#include "ReportText.h"

#include <functional>
#include <iterator>
#include <unordered_set>

const TJsonValue* TJsonValue::Find(const std::string& key, size_t* keyOffset) const
{
    for (size_t i = 0; i < keys.size(); ++i)
    {
        if (keys[i] == key)
        {
            if (keyOffset != nullptr)
                *keyOffset = keyOffsets[i];
            return &items[i];
        }
    }
    return nullptr;
}

namespace
{

constexpr size_t kMaxDepth = 64;

// Walks the text for the parser and keeps how far it has read, which tells
// the handler where each token ended.
class CCountingIterator
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CCountingIterator(const char* at, const char** reached) : m_at(at), m_reached(reached) {}

    reference operator*() const { return *m_at; }
    CCountingIterator& operator++()
    {
        ++m_at;
        *m_reached = m_at;
        return *this;
    }
    CCountingIterator operator++(int)
    {
        CCountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CCountingIterator& other) const { return m_at == other.m_at; }
    bool operator!=(const CCountingIterator& other) const { return m_at != other.m_at; }

private:
    const char* m_at;
    const char** m_reached;
};

// The parser's message as one sentence of ours. Its messages read
// "[json.exception.parse_error.101] parse error at line 1, column 9: syntax
// error while parsing value - invalid literal; last read: '...'"; the line
// and column are given by the caller, the echo of the input is noise.
std::string ParseErrorSentence(const nlohmann::detail::exception& e)
{
    if (e.id == 406)
        return "number out of range";
    std::string message = e.what();
    if (message.starts_with("[json.exception."))
        if (const size_t close = message.find("] "); close != std::string::npos)
            message.erase(0, close + 2);
    if (message.starts_with("parse error"))
        if (const size_t colon = message.find(": "); colon != std::string::npos)
            message.erase(0, colon + 2);
    if (const size_t echo = message.find("; last read:"); echo != std::string::npos)
        message.erase(echo);
    if (const size_t dash = message.find(" - "); dash != std::string::npos)
        message.replace(dash, 3, ": ");
    return message;
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// A set of an object's members held as their places in its list of names,
// so that each name is kept once.
struct TKeyHash
{
    const std::vector<std::string>* keys;
    size_t operator()(size_t i) const { return std::hash<std::string>{}((*keys)[i]); }
};
struct TKeyEqual
{
    const std::vector<std::string>* keys;
    bool operator()(size_t a, size_t b) const { return (*keys)[a] == (*keys)[b]; }
};
using TKeySet = std::unordered_set<size_t, TKeyHash, TKeyEqual>;

// Builds the tree of TJsonValue from the parser's events. Only the path of
// open containers is held, and a container's own vector never grows while
// one of its members is open, so the pointers stay good.
class CTreeBuilder : public nlohmann::json_sax<nlohmann::json>
{
public:
    CTreeBuilder(const std::string& text, TJsonValue& root, TJsonProblem& problem)
        : m_text(text), m_reached(text.data()), m_root(root), m_problem(problem)
    {
    }

    const char** Reached() { return &m_reached; }

    bool null() override { return Scalar(TJsonValue::EKind::Null, 4); }
    bool boolean(bool value) override
    {
        TJsonValue* v = Add(TJsonValue::EKind::Bool, value ? 4 : 5);
        if (v != nullptr)
            v->boolean = value;
        return v != nullptr;
    }
    bool number_integer(number_integer_t value) override
    {
        TJsonValue* v = AddNumber(TJsonValue::EKind::Integer);
        if (v != nullptr)
            v->integer = value;
        return v != nullptr;
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        TJsonValue* v = AddNumber(TJsonValue::EKind::Integer);
        if (v == nullptr)
            return false;
        if (value > static_cast<number_unsigned_t>(INT64_MAX))
            v->beyondInt64 = true;
        else
            v->integer = static_cast<int64_t>(value);
        return true;
    }
    bool number_float(number_float_t, const string_t&) override
    {
        return AddNumber(TJsonValue::EKind::Float) != nullptr;
    }
    bool string(string_t& value) override
    {
        TJsonValue* v = Place(TJsonValue::EKind::String, StringStart());
        if (v != nullptr)
            v->text = std::move(value);
        return v != nullptr;
    }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return Open(TJsonValue::EKind::Object); }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(TJsonValue::EKind::Array); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override
    {
        TJsonValue& object = *m_open.back();
        const size_t at = StringStart();
        object.keys.push_back(std::move(name));
        object.keyOffsets.push_back(at);
        if (!m_names.back().insert(object.keys.size() - 1).second)
        {
            m_problem = {at, "\"" + object.keys.back() + "\" is given twice"};
            return false;
        }
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override
    {
        m_problem = {position > 0 ? position - 1 : 0, ParseErrorSentence(e)};
        return false;
    }

private:
    size_t Consumed() const { return static_cast<size_t>(m_reached - m_text.data()); }

    // A string token has just ended with its closing quote: find the opening one.
    size_t StringStart() const
    {
        size_t i = Consumed();
        if (i == 0)
            return 0;
        --i; // the closing quote
        while (i > 0)
        {
            --i;
            if (m_text[i] != '"')
                continue;
            size_t slashes = 0;
            while (i >= slashes + 1 && m_text[i - slashes - 1] == '\\')
                ++slashes;
            if (slashes % 2 == 0)
                return i;
        }
        return 0;
    }

    bool Scalar(TJsonValue::EKind kind, size_t length) { return Add(kind, length) != nullptr; }

    TJsonValue* Add(TJsonValue::EKind kind, size_t length)
    {
        const size_t consumed = Consumed();
        return Place(kind, consumed >= length ? consumed - length : 0);
    }

    // A number is known only once the character after it has been read.
    TJsonValue* AddNumber(TJsonValue::EKind kind)
    {
        size_t end = Consumed();
        if (end > 0 && !IsNumberChar(m_text[end - 1]))
            --end;
        size_t start = end;
        while (start > 0 && IsNumberChar(m_text[start - 1]))
            --start;
        return Place(kind, start);
    }

    TJsonValue* Place(TJsonValue::EKind kind, size_t offset)
    {
        if (++m_values > kJsonValueLimit)
        {
            m_problem = {offset,
                         "more than " + GroupedDigits(kJsonValueLimit) + " values, more than any layout holds"};
            return nullptr;
        }
        TJsonValue* v = nullptr;
        if (m_open.empty())
        {
            v = &m_root;
        }
        else
        {
            m_open.back()->items.emplace_back();
            v = &m_open.back()->items.back();
        }
        v->kind = kind;
        v->offset = offset;
        return v;
    }

    bool Open(TJsonValue::EKind kind)
    {
        const size_t consumed = Consumed();
        if (m_open.size() >= kMaxDepth)
        {
            m_problem = {consumed > 0 ? consumed - 1 : 0, "nested more than 64 deep"};
            return false;
        }
        TJsonValue* v = Place(kind, consumed > 0 ? consumed - 1 : 0);
        if (v == nullptr)
            return false;
        m_open.push_back(v);
        m_names.emplace_back(0, TKeyHash{&v->keys}, TKeyEqual{&v->keys});
        return true;
    }

    bool Close()
    {
        m_open.pop_back();
        m_names.pop_back();
        return true;
    }

    const std::string& m_text;
    const char* m_reached;
    TJsonValue& m_root;
    TJsonProblem& m_problem;
    std::vector<TJsonValue*> m_open;
    // The members of each open container by name, to find one given twice.
    std::vector<TKeySet> m_names;
    size_t m_values = 0;
};

bool HoldsArray(const TOrderedJson& value)
{
    if (value.is_array())
        return true;
    if (!value.is_object())
        return false;
    for (const auto& member : value.items())
    {
        if (HoldsArray(member.value()))
            return true;
    }
    return false;
}

std::string Scalar(const TOrderedJson& value)
{
    return value.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

std::string OneLine(const TOrderedJson& value)
{
    if (!value.is_structured())
        return Scalar(value);
    const bool object = value.is_object();
    std::string out(1, object ? '{' : '[');
    bool first = true;
    for (const auto& member : value.items())
    {
        if (!first)
            out += ", ";
        first = false;
        if (object)
            out += Scalar(TOrderedJson(member.key())) + ": ";
        out += OneLine(member.value());
    }
    out += object ? '}' : ']';
    return out;
}

void PrintTo(const TOrderedJson& value, size_t indent, std::string& out)
{
    if (!value.is_structured() || value.empty() || (value.is_object() && !HoldsArray(value)))
    {
        out += OneLine(value);
        return;
    }
    const bool object = value.is_object();
    const std::string inner(indent + 2, ' ');
    out += object ? "{\n" : "[\n";
    bool first = true;
    for (const auto& member : value.items())
    {
        if (!first)
            out += ",\n";
        first = false;
        out += inner;
        if (object)
            out += Scalar(TOrderedJson(member.key())) + ": ";
        PrintTo(member.value(), indent + 2, out);
    }
    out += '\n';
    out += std::string(indent, ' ');
    out += object ? '}' : ']';
}

} // namespace

bool ParseJsonText(const std::string& text, TJsonValue& root, TJsonProblem& problem)
{
    root = TJsonValue();
    CTreeBuilder builder(text, root, problem);
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    return nlohmann::json::sax_parse(CCountingIterator(begin, builder.Reached()),
                                     CCountingIterator(end, builder.Reached()), &builder);
}

std::string LineColumn(const std::string& text, size_t offset)
{
    size_t line = 1;
    size_t column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
        {
            ++line;
            column = 1;
        }
        else if ((c & 0xC0) != 0x80)
        {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

std::string PrintJson(const TOrderedJson& value)
{
    std::string out;
    PrintTo(value, 0, out);
    return out;
}
