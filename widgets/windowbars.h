#pragma once

#include <QFrame>
#include <QIcon>
#include <QStyle>
#include <QToolBar>

#include <functional>
#include <map>
#include <vector>

class QLabel;
class QToolButton;

// One position of a toolbar: a separator or a button with an image, a tooltip and
// what a click does.
struct ToolbarItem {
    bool separator = false;
    QString iconTheme;                                       // freedesktop icon name
    QStyle::StandardPixmap fallback = QStyle::SP_CustomBase; // when the theme has none
    QString toolTip;
    std::function<void()> command = {};
};
inline ToolbarItem toolbarSeparator()
{
    return ToolbarItem{true, {}, QStyle::SP_CustomBase, {}};
}

// A toolbar whose buttons are addressed by their 1-based position, separators counted.
class PositionToolbar : public QToolBar
{
    Q_OBJECT
public:
    PositionToolbar(QWidget *client, const std::vector<ToolbarItem> &items);
    // The button at a position; null for separators.
    QToolButton *button(int position) const;
    void setButtonEnabled(int position, bool enabled);
    bool isButtonEnabled(int position) const;

signals:
    void buttonClicked(int position);

private:
    std::map<int, QToolButton *> buttons_;
};

// A status bar of fixed panels. Panels are addressed from 1.
class StatusPanels : public QFrame
{
    Q_OBJECT
public:
    enum class Kind { Text, Caps, Ins };
    struct Panel {
        Kind kind = Kind::Text;
        QString text;
        int widthTwips = 0;       // 0: takes the room the others leave
        QStringList samples = {}; // texts the panel must show whole: it is widened for them
    };
    StatusPanels(QWidget *client, const std::vector<Panel> &panels);
    QLabel *panel(int index) const;
    void setPanelText(int index, const QString &text);
    QString panelText(int index) const;
    // TodayText in panel `datePanel` and ClockText in the one after it.
    void showDateTime(int datePanel);
    // Redraws the CAPS and INS panels from the current key states.
    void refreshKeyStates();

private:
    std::vector<QLabel *> labels_;
    std::vector<Kind> kinds_;
};

// Design heights of the two bars.
inline constexpr int ToolbarHeightTwips = 360;
inline constexpr int StatusBarHeightTwips = 300;
