#pragma once

#include "JsonText.h"
#include "LabelJson.h"
#include "Layout.h"
#include "UserObject.h"
#include "UserPageFile.h"

#include <memory>
#include <string>

// What a layout's JSON describes: a template, a bare layout byte image, or
// a user page file.
struct TJsonBuilt
{
    std::string kind;                // "template", "layout" or "userpage"
    std::unique_ptr<TLayout> layout; // the first two kinds
    TUserPageFileContents userPage;  // the last
};

// Reads what CLayoutJsonWriter writes, and hand-written JSON of the same
// shape: a member left out takes the value a new record has. Unknown
// members, values of the wrong kind and values a field cannot hold are
// refused, never cut to fit. Picture files are read by content and scaled
// to fit the screen, as Add Image does.
class CLayoutJsonReader
{
public:
    // Picture files named by a relative path are looked for in jsonDir.
    // Labels are drawn by paintLabel; without one a label is refused.
    CLayoutJsonReader(std::string jsonDir, TLabelPainter paintLabel);

    bool Read(const TJsonValue& root, TJsonBuilt& built);
    // Why Read failed, and where.
    const TJsonProblem& Problem() const { return m_problem; }

private:
    bool ReadLayout(const TJsonValue& root, TLayout& layout);
    bool ReadPage(const TJsonValue& value, std::unique_ptr<TListItem>& page, bool& idGiven);
    bool ReadObject(const TJsonValue& value, std::unique_ptr<TUserObject>& object);
    bool ReadImage(const TJsonValue& value, bool addedOnly, std::unique_ptr<TImageEntry>& entry,
                   bool& idGiven);
    bool ReadImages(const TJsonValue* list, bool addedOnly,
                    std::vector<std::unique_ptr<TImageEntry>>& entries, int32_t firstFreeId);
    bool PaintLabel(const TJsonValue& value, std::shared_ptr<CImageBuffer>& image);

    std::string m_jsonDir;
    TLabelPainter m_paintLabel;
    TJsonProblem m_problem;
};
