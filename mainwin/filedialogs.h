#pragma once

#include "widgets/formwindow.h"
#include "widgets/ui.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// What tells the two file-name dialogs apart: caption, labels and help topic.
struct FileNameDialogLayout {
    QString objectName;
    QString caption;
    std::array<LabelDef, 4> labels; // Label1 .. Label4
    QRect textTwips;                 // Text1
    int helpContext;
};

// A small dialog asking for a file name: labels, the name box Text1 and the
// OK / キャンセル / ヘルプ row. The name box has the focus when it opens.
class FileNameDialog : public FormDialog {
    Q_OBJECT
public:
    explicit FileNameDialog(const FileNameDialogLayout &layout);

    // 0 OK, 1 キャンセル, 2 ヘルプ.
    void Command1_Click(int index);

    QLabel *Label1, *Label2, *Label3, *Label4;
    QLineEdit *Text1;
    std::array<QPushButton *, 3> Command1;

protected:
    virtual void okClicked() = 0;
    // Reports a failed chore; the name box gets the focus back with its text selected.
    void reportFailure(const QString &text, const QString &title);

private:
    int helpContext_;
};

// Copy: the source is RosterFileName, shown by name in Label3.
class FILESCOPY : public FileNameDialog {
    Q_OBJECT
public:
    FILESCOPY();

protected:
    void okClicked() override;
};

// Rename: the source is RenameSourceFile, shown by name in Label2.
class RENAME : public FileNameDialog {
    Q_OBJECT
public:
    RENAME();

protected:
    void okClicked() override;
};
