#pragma once

#include "widgets/formwindow.h"
#include "widgets/ui.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// What tells the two file-name dialogs apart: caption, labels and help topic.
struct FileNameDialogLayout {
    const char *objectName;
    QString caption;
    std::array<LabelDef, 4> labels; // the instruction, captions and the chosen file's name
    int sourceNameLabel;            // which of them shows the chosen file's name
    QRect nameBoxTwips;
    int helpContext;
};

// A small dialog asking for a file name: labels, the name box and the
// OK / キャンセル / ヘルプ row. The name box has the focus when it opens.
class FileNameDialog : public ButtonRowDialog
{
    Q_OBJECT
public:
    explicit FileNameDialog(const FileNameDialogLayout &layout);

    std::array<QLabel *, 4> labels{}; // the first is the instruction
    QLabel *sourceName = nullptr;     // the chosen file's name
    QLineEdit *nameBox = nullptr;

protected:
    // Reports a failed chore; the name box gets the focus back with its text selected.
    void reportFailure(const QString &text, const QString &title);
};

// Copy: the source is RosterFileName.
class FileCopyDialog : public FileNameDialog
{
    Q_OBJECT
public:
    FileCopyDialog();

protected:
    void okClicked() override;
};

// Rename: the source is RenameSourceFile.
class RenameDialog : public FileNameDialog
{
    Q_OBJECT
public:
    RenameDialog();

protected:
    void okClicked() override;
};
