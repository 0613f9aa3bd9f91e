#pragma once

#include <QObject>

// Follows the Caps Lock and Insert keys from the key presses the program sees,
// for platforms that do not tell their state.
class KeyStateTracker : public QObject
{
    Q_OBJECT
public:
    static KeyStateTracker &instance();
    // Watches every key press of the application.
    void install();
    bool capsLock() const { return capsLock_; }
    bool insertMode() const { return insertMode_; }

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool capsLock_ = false;
    bool insertMode_ = false;
};
