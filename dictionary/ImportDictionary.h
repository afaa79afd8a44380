#pragma once

#include <string>
#include <vector>

#include "Dictionary.h"

#include "WordDialog.h"

namespace qm {

class DicFileOpen;
class ImportReader;

// ImportDictionary: merges the words of a second dictionary file into the dictionary in use,
// asking word by word where the comments differ, then writes the result on "Save" or leaves the
// file alone on "Cancel". Modeless; the merge yields to the event loop after every record.
class ImportDictionary : public WordDialog {
    Q_OBJECT
public:
    ImportDictionary(Context& context, QWidget& mainWindow);

    // The Dictionary Import command: choose the file, show the dialog, merge.
    void Import(DicFileOpen& dialog);
    bool Merging() const { return merging_; }

    void Command1_Click();  // Save
    void Command2_Click() override;  // Cancel

    QLabel* Label1;
    QLabel* Picture1;  // the dictionary in use
    QLabel* Label3;
    QLabel* Picture2;  // its number of words before the import
    QLabel* Label2;
    QLabel* Picture3;  // the imported file
    QLabel* Label4;
    QLabel* Picture4;  // records read
    QLabel* Label5;
    QLabel* Picture5;  // words added
    QLabel* Label6;    // why the merge stopped early
    QPushButton* Command1;
    QPushButton* Command2;

private:
    void Arrange();
    bool MayStart();
    bool ReadImportFile(const QString& path, std::string& text);
    void ShowStart(const QString& importPath);
    bool Merge(ImportReader& reader);
    bool AskToReplace(const DictionaryEntry& imported, int index);
    bool Stop(const QString& why);
    // Makes the merge's changes again, to the table as it is when written.
    bool Remerge(DictionaryTable& table) const;
    // Puts the table back as the file holds it, and the conversion with it.
    void Restore();

    bool merging_ = false;
    bool cancelled_ = false;
    // What the merge did: words added, and the comments the user chose to replace.
    struct Change {
        DictionaryEntry entry;
        bool replaced;
    };
    std::vector<Change> changes_;
    QString importInto_;  // the dictionary in use when the import began
};

}  // namespace qm
