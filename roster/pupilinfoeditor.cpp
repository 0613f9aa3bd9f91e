#include "roster/pupilinfoeditor.h"

#include "core/classfile.h"
#include "core/sharedstate.h"
#include "platform/platform.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace
{

const QString Title = QStringLiteral("生徒の情報");
const QStringList Headers{QStringLiteral("氏名"), QStringLiteral("ふりがな"), QStringLiteral("性別"),
                          QStringLiteral("タグ")};
const QStringList GenderChoices{QStringLiteral("未設定"), QStringLiteral("男"), QStringLiteral("女")};

// Readings and tags are typed in one-line boxes with Japanese input on; the gender is chosen
// from a list.
class DetailsDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() == GenderColumn) {
            auto *choice = new QComboBox(parent);
            choice->addItems(GenderChoices);
            return choice;
        }
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *box = qobject_cast<QLineEdit *>(editor)) {
            keepSingleLine(box);
            platform().switchInputMethodOn(box);
        }
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *choice = qobject_cast<QComboBox *>(editor))
            choice->setCurrentIndex(int(parseGender(index.data().toString()).value_or(Gender::Unset)));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *choice = qobject_cast<QComboBox *>(editor))
            model->setData(index, genderText(Gender(choice->currentIndex())));
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

DetailsTable::DetailsTable(QWidget *parent) : QTableWidget(0, DetailColumnCount, parent)
{
    setObjectName(QStringLiteral("DETAILS"));
    setHorizontalHeaderLabels(Headers);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(NameColumn, 150);
    setColumnWidth(ReadingColumn, 150);
    setColumnWidth(GenderColumn, 64);
    setItemDelegate(new DetailsDelegate(this));
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(ContiguousSelection);
    setTabKeyNavigation(true);
    setAccessibleName(QStringLiteral("生徒の情報の表"));
    setAccessibleDescription(
        QStringLiteral("Tab と矢印キーで移動、入力するかF2かEnterで編集。性別はM（男）、F（女）、Spaceで切り替え、"
                       "Deleteで未設定。Ctrl+Vで表計算ソフトの表を貼り付け。"));
    connect(this, &QTableWidget::itemChanged, this, &DetailsTable::nameCell);
}

void DetailsTable::setRows(const QList<DetailRow> &rows)
{
    {
        const QSignalBlocker quiet(this);
        setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < DetailColumnCount; ++c) {
                QTableWidgetItem *cell = item(r, c);
                if (!cell) {
                    cell = new QTableWidgetItem;
                    if (c == NameColumn)
                        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    setItem(r, c, cell);
                }
                cell->setText(rows.at(r).value(c));
            }
        }
    }
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < DetailColumnCount; ++c)
            nameCell(item(r, c));
    }
}

QList<DetailRow> DetailsTable::rows() const
{
    QList<DetailRow> rows;
    for (int r = 0; r < rowCount(); ++r) {
        DetailRow row;
        for (int c = 0; c < DetailColumnCount; ++c)
            row.append(item(r, c)->text());
        rows.append(row);
    }
    return rows;
}

void DetailsTable::finishEditing()
{
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DetailsTable::nameCell(QTableWidgetItem *cell)
{
    const QString pupil = item(cell->row(), NameColumn) ? item(cell->row(), NameColumn)->text() : QString();
    QString said = pupil + QStringLiteral("、") + Headers.at(cell->column());
    if (cell->column() != NameColumn) {
        const QString value = cell->text().isEmpty()
                                  ? (cell->column() == GenderColumn ? GenderChoices.first() : QStringLiteral("空欄"))
                                  : cell->text();
        said += QStringLiteral("：") + value;
    }
    if (cell->data(Qt::AccessibleTextRole).toString() != said)
        cell->setData(Qt::AccessibleTextRole, said);
}

void DetailsTable::setGender(Gender gender)
{
    if (QTableWidgetItem *cell = currentItem())
        cell->setText(genderText(gender));
}

void DetailsTable::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (state() != EditingState && current.isValid()) {
        if (event->matches(QKeySequence::Paste)) {
            emit pasteRequested();
            return;
        }
        if (enter) {
            if (current.column() != NameColumn)
                edit(current);
            return;
        }
        if (current.column() == GenderColumn) {
            const QString typed = event->text();
            const Gender now = parseGender(current.data().toString()).value_or(Gender::Unset);
            switch (event->key()) {
            case Qt::Key_Space: setGender(Gender((int(now) + 1) % 3)); return;
            case Qt::Key_Delete:
            case Qt::Key_Backspace: setGender(Gender::Unset); return;
            default: // M, F, 男, 女
                if (const std::optional<Gender> gender = parseGender(typed); gender && !typed.trimmed().isEmpty()) {
                    setGender(*gender);
                    return;
                }
            }
        }
        if (event->key() == Qt::Key_Delete) {
            for (QTableWidgetItem *cell : selectedItems()) {
                if (cell->column() != NameColumn)
                    cell->setText(QString());
            }
            return;
        }
    }
    // Enter that closed a cell editor goes no further: it is not the dialog's.
    if (enter)
        return;
    QTableWidget::keyPressEvent(event);
}

void DetailsTable::inputMethodEvent(QInputMethodEvent *event)
{
    // 男 or 女 typed with Japanese input on sets the gender as M and F do.
    const QModelIndex current = currentIndex();
    if (state() != EditingState && current.column() == GenderColumn) {
        const std::optional<Gender> gender = parseGender(event->commitString());
        if (gender && !event->commitString().isEmpty()) {
            setGender(*gender);
            event->accept();
            return;
        }
    }
    QTableWidget::inputMethodEvent(event);
}

QModelIndex DetailsTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action != MoveNext && action != MovePrevious)
        return QTableWidget::moveCursor(action, modifiers);
    // Tab walks the cells one can edit, row by row, and leaves the table after the last one
    // (Shift+Tab before the first).
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, ReadingColumn);
    int row = current.row(), column = current.column() + (action == MoveNext ? 1 : -1);
    if (column >= DetailColumnCount) {
        column = ReadingColumn;
        ++row;
    } else if (column < ReadingColumn) {
        column = TagsColumn;
        --row;
    }
    return row >= 0 && row < rowCount() ? model()->index(row, column) : QModelIndex();
}

PupilInfoEditor::PupilInfoEditor()
    : ButtonRowDialog(Title, "PUPILINFO", QSize(600 * 15, 480 * 15),
                      {QStringLiteral("Label1"),
                       QStringLiteral("ふりがな・性別・タグ（「、」で区切る）を入力します。表計算ソフトの表はCtrl+Vで"
                                      "貼り付けられます。"),
                       QRect(330, 150, 8340, 285), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      49)
{
    table = new DetailsTable(this);
    table->setGeometry(22, 40, 556, 380);
    table->setFont(makeFont(Face::UIGothic, 10));
    addButtonRow();
    for (QPushButton *b : buttons)
        b->move(b->x(), 436);
    connect(table, &DetailsTable::pasteRequested, this, &PupilInfoEditor::paste);
}

void PupilInfoEditor::edit(const QStringList &names, const PupilInfos &info, const QString &rosterPath)
{
    rosterPath_ = rosterPath;
    table->setRows(detailRows(names, info));
    table->setCurrentCell(0, ReadingColumn);
    table->setFocus();
}

void PupilInfoEditor::paste()
{
    table->finishEditing();
    const QModelIndex at = table->currentIndex();
    const DetailsPasted pasted = pasteDetails(table->rows(), std::max(at.row(), 0), std::max(at.column(), 0),
                                              QGuiApplication::clipboard()->text());
    if (!pasted.refusal.text.isEmpty()) {
        showMessage(this, pasted.refusal);
        return;
    }
    table->setRows(pasted.rows);
}

void PupilInfoEditor::okClicked()
{
    table->finishEditing();
    const DetailsBuilt built = buildDetails(table->rows());
    if (!built.refusal.text.isEmpty()) {
        showMessage(this, built.refusal);
        table->setCurrentCell(built.refusedRow, ReadingColumn);
        table->setFocus();
        return;
    }
    // The names no longer in the table lose their details here, and only here.
    if (!rosterPath_.isEmpty()) {
        const QString error = changeClassFile(rosterPath_, [&built](ClassData &data) { data.pupils = built.info; });
        if (!error.isEmpty()) {
            showMessage(this, QStringLiteral("生徒の情報を保存できませんでした。\r") + error, MsgStyle::Critical,
                        Title);
            return;
        }
    }
    state().openClass.info = built.info;
    unloadSelf();
}

void PupilInfoEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        buttonClicked(1);
        return;
    }
    ButtonRowDialog::keyPressEvent(event);
}

void editPupilInfoModally(const QStringList &names, const PupilInfos &info, const QString &rosterPath)
{
    PupilInfoEditor *editor = form<PupilInfoEditor>();
    editor->edit(names, info, rosterPath);
    editor->exec();
    unload<PupilInfoEditor>();
}
