#pragma once

#include "JsonText.h"
#include "TextField.h"

#include <string>

// How the layout's texts look in its JSON. The usual form is a plain string;
// a text that no string can carry exactly takes an object form, so that a
// damaged or foreign file still comes back byte for byte.

// A wide string (names, PINs): a string, or {"utf16": "hex, four digits a
// code unit"} when it holds a lone surrogate.
TOrderedJson WideJson(const std::u16string& text);
// A fixed text field: a string when the field is exactly that text in the
// code page followed by zero bytes; otherwise {"text": what the field reads
// as, "bytes": "hex of its 80 bytes, trailing zeros left out"}.
TOrderedJson TextFieldJson(const TTextField& field);

// The readers' side. name is the member's name, for the message; false with
// problem set when the value is not one of the forms above or its field
// cannot hold it.
bool WideFromJson(const TJsonValue& value, const std::string& name, size_t keyOffset, std::u16string& text,
                  TJsonProblem& problem);
bool TextFieldFromJson(const TJsonValue& value, const std::string& name, size_t keyOffset, TTextField& field,
                       TJsonProblem& problem);
