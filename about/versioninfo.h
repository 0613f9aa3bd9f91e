#pragma once

#include "widgets/formwindow.h"

#include <QColor>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

// The version-information window: the program's name and version, and two links,
// one to write to the author, one to the author's home page.
class VersionWindow : public FormDialog
{
    Q_OBJECT
public:
    VersionWindow();

    void buttonClicked();
    // The pointer moved over the window's background.
    void pointerOverBackground();
    // The pointer moved over element `index` of labels.
    void pointerOverLabel(int index);
    void labelClicked(int index);

    // Elements 0..14, 18 and 19; 15 to 17 do not exist (null).
    std::array<QLabel *, 20> labels{};
    QPushButton *okButton;
    QLabel *icon;
    std::array<QFrame *, 5> frameLines{};

    // The two link groups: the mail group and the home-page group.
    static constexpr std::array<int, 2> MailLinks{10, 11};
    static constexpr std::array<int, 3> HomePageLinks{12, 13, 14};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void makeLettering();
    void makeLinks();
    void makeFrame();
    void colourLinks(bool mailLit, bool homePageLit);
    int labelIndex(QObject *object) const;
};

// Opens the version-information window modally and returns when it closes.
void showVersionInfo();
