#include "LabelJson.h"

#include "LabelWords.h"

#include <limits>

namespace
{

using EKind = TJsonValue::EKind;

bool Fail(TJsonProblem& problem, size_t offset, const std::string& message)
{
    problem = {offset, message};
    return false;
}

} // namespace

bool LabelFromJson(const TJsonValue& json, TLabel& label, TJsonProblem& problem)
{
    label = TLabel{};
    TTextPicture& text = label.text;
    bool hasText = false;
    bool hasBackground = false;
    for (size_t i = 0; i < json.keys.size(); ++i)
    {
        const std::string& key = json.keys[i];
        const TJsonValue& member = json.items[i];
        const size_t at = json.keyOffsets[i];
        const std::string quoted = "\"" + key + "\"";
        const auto string = [&]() -> const std::string*
        {
            if (member.kind != EKind::String)
            {
                Fail(problem, at, quoted + " must be a string");
                return nullptr;
            }
            return &member.text;
        };
        const auto integer = [&](int32_t& destination)
        {
            if (member.kind != EKind::Integer)
                return Fail(problem, at, quoted + " must be an integer");
            if (member.beyondInt64 || member.integer < std::numeric_limits<int32_t>::min() ||
                member.integer > std::numeric_limits<int32_t>::max())
                return Fail(problem, at, quoted + " is out of range");
            destination = static_cast<int32_t>(member.integer);
            return true;
        };
        const auto words = [&](auto parse, auto& destination, const char* takes)
        {
            const std::string* s = string();
            if (s == nullptr)
                return false;
            if (!parse(*s, destination))
                return Fail(problem, at, quoted + " must be " + takes);
            return true;
        };
        bool ok = true;
        if (key == "text")
        {
            const std::string* s = string();
            ok = s != nullptr;
            if (ok)
                text.text = *s;
            hasText = true;
        }
        else if (key == "font")
        {
            const std::string* s = string();
            ok = s != nullptr;
            if (ok)
                text.family = *s;
        }
        else if (key == "size")
        {
            ok = integer(text.size);
        }
        else if (key == "padding")
        {
            ok = integer(text.padding);
        }
        else if (key == "width" || key == "height")
        {
            int32_t given = 0;
            ok = integer(given);
            (key == "width" ? text.width : text.height) = given;
        }
        else if (key == "bold")
        {
            if (member.kind != EKind::Bool)
                return Fail(problem, at, quoted + " must be true or false");
            text.bold = member.boolean;
        }
        else if (key == "colour")
        {
            ok = words(ParseLabelColour, label.colour, kColourWords);
        }
        else if (key == "align")
        {
            ok = words(ParseTextAlign, text.align, kAlignWords);
        }
        else if (key == "background" || key == "gradient")
        {
            if (hasBackground)
                return Fail(problem, at, "a label takes \"background\" or \"gradient\", not both");
            hasBackground = true;
            ok = key == "background" ? words(ParseLabelBackground, label.background, kBackgroundWords)
                                     : words(ParseLabelGradient, label.background, kGradientWords);
        }
        else
        {
            return Fail(problem, at, "unknown member " + quoted);
        }
        if (!ok)
            return false;
    }
    if (!hasText)
        return Fail(problem, json.offset, "a label needs \"text\"");
    return true;
}
