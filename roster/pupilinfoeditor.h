#pragma once

#include "core/pupilinfo.h"
#include "widgets/formwindow.h"

#include <QTableWidget>

// The details table: 氏名 (read only), ふりがな, 性別, タグ. Tab and the arrows move, typing, F2 or
// Enter edit; in the gender column M, F, 男, 女 set it, Space steps through 男, 女 and not set,
// Delete clears; Delete clears the selected cells elsewhere too; Ctrl+V pastes a block.
class DetailsTable : public QTableWidget
{
    Q_OBJECT
public:
    explicit DetailsTable(QWidget *parent);

    // Sets the cells' texts, keeping the current cell.
    void setRows(const QList<DetailRow> &rows);
    QList<DetailRow> rows() const;
    // Takes what an open cell editor holds into its cell.
    void finishEditing();

signals:
    void pasteRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void setGender(Gender gender);
    // What a screen reader says of a cell: the pupil, the column and what it holds.
    void nameCell(QTableWidgetItem *item);
};

// 生徒の情報: the details of the pupils whose names the roster editor holds.
class PupilInfoEditor : public ButtonRowDialog
{
    Q_OBJECT
public:
    PupilInfoEditor();

    // Shows `names` with their details from `info`; on OK the details go to the open class and,
    // when `rosterPath` is not empty, to the class file beside that roster.
    void edit(const QStringList &names, const PupilInfos &info, const QString &rosterPath);
    // Pastes the clipboard's block at the current cell.
    void paste();

    DetailsTable *table = nullptr;

protected:
    // Checks the readings and stores the details; the dialog stays open on a refusal or a
    // failed write.
    void okClicked() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString rosterPath_;
};

// The details editor for `names`, modal.
void editPupilInfoModally(const QStringList &names, const PupilInfos &info, const QString &rosterPath);
