#pragma once

#include <QString>

#include <optional>

namespace qm {

class Services;

// The main window's dictionary file dialog, shared by select, create and import. Like one dialog
// kept for the program's life, it offers again the file last chosen in it.
class DicFileOpen {
public:
    static constexpr const char* kFilter = "Dic Files(*.dic)|*.dic|All Files(*.*)|*.*";

    // Open mode in folder, offering the last file chosen.
    std::optional<QString> ShowOpen(Services& services, const QString& folder);
    // Save mode in folder with an empty file name; the dialog asks before replacing a file.
    std::optional<QString> ShowSave(Services& services, const QString& folder);

    // Name of the file last chosen, empty before the first choice.
    const QString& FileName() const { return fileName_; }

private:
    std::optional<QString> Remember(std::optional<QString> chosen);

    QString fileName_;
};

}  // namespace qm
