#pragma once

#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace ui {

// An open or save dialog as the program's file choices describe it: the
// filter in the "Text (*.a)|*.a|…" form with a 1-based index, a start folder,
// for saving a default extension (without the dot) and a proposed name.
struct TFileChoice {
    const char* ObjectName = "OpenDialog1";
    std::string Title;
    std::string Folder;
    std::string_view Filter;
    int FilterIndex = 1;
    bool Save = false;
    std::string DefaultExtension;
    std::string FileName;
};

// An open dialog ("OpenDialog1") and a save dialog ("SaveDialog1").
TFileChoice OpenFileChoice(std::string title, std::string folder, std::string_view filter, int filterIndex = 1);
TFileChoice SaveFileChoice(std::string title, std::string folder, std::string_view filter, int filterIndex = 1,
                           std::string defaultExtension = {}, std::string fileName = {});

// The chosen path, or nothing when the user cancelled.
std::optional<std::string> ChooseFile(QWidget* parent, const TFileChoice& choice);

}  // namespace ui
