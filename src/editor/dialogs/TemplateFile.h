#pragma once

class QWidget;

// The template file the layout belongs to, as the program that opened the
// editor keeps it. The programming dialog's Load and Save go through it, so
// that the file is remembered and unsaved changes are asked about first.
class ITemplateFile
{
public:
    virtual ~ITemplateFile() = default;

    // Asks about unsaved changes, then for a template, and loads it over the
    // document; true when it did. A file that cannot be loaded is reported
    // and leaves the document as it was.
    virtual bool Load(QWidget* parent) = 0;
    // Asks for a name, proposing the open file, and saves the document
    // there; true when it did.
    virtual bool SaveAs(QWidget* parent) = 0;
};
