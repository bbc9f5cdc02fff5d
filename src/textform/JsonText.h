#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Keys stay in the order they were added, so the printed form is stable.
using TOrderedJson = nlohmann::ordered_json;

// A JSON value as read from a text, with the offset where it starts, so that
// a message can name the line and column of what it is about.
struct TJsonValue
{
    enum class EKind : uint8_t
    {
        Null,
        Bool,
        Integer,
        Float,
        String,
        Array,
        Object,
    };

    EKind kind = EKind::Null;
    bool boolean = false;
    bool beyondInt64 = false;       // an integer above INT64_MAX
    int64_t integer = 0;
    std::string text;               // a string, UTF-8
    std::vector<TJsonValue> items;  // array elements, or object member values
    std::vector<std::string> keys;  // object member names, in order
    std::vector<size_t> keyOffsets; // where each name starts
    size_t offset = 0;

    // The member of that name, or null; its key's offset goes to keyOffset.
    const TJsonValue* Find(const std::string& key, size_t* keyOffset = nullptr) const;
};

// What is wrong with a JSON text and where.
struct TJsonProblem
{
    size_t offset = 0;
    std::string message;
};

// No layout's JSON comes near this many values (one of the panel's 512,000
// bytes holds fewer than 160,000: most take four bytes); it bounds the
// memory a text can take while it is read.
constexpr size_t kJsonValueLimit = 500000;

// Parses a whole text in time linear in its length. False with problem set
// on a syntax error (one sentence, as "invalid literal"), a key given twice
// in one object, nesting deeper than 64 or more than kJsonValueLimit values.
bool ParseJsonText(const std::string& text, TJsonValue& root, TJsonProblem& problem);

// "LINE:COL" of an offset, both from 1; columns count characters.
std::string LineColumn(const std::string& text, size_t offset);

// The text of a value: an object that holds no array goes on one line, as
// does an empty array; other objects and arrays put each member on a line
// of its own, indented by two spaces a level. Ends without a line feed.
std::string PrintJson(const TOrderedJson& value);
