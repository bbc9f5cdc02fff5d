#pragma once

#include <QString>

class TUserObject;

// What an installer calls an object of the page: "Button", "Selection" (a
// button of a selector group), "Slider", "Image", "Hot Spot"; "Object" for
// a kind this program does not know. The model's ObjectKindName(type) in
// the words of a title.
QString ObjectKindName(const TUserObject& object);
