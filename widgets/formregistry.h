#pragma once

#include <QCloseEvent>
#include <QPointer>
#include <QWidget>

#include <concepts>
#include <map>
#include <typeindex>

// Every window is a single instance: created on first use (running its Load set-up)
// and created afresh once it was unloaded.
//
//   form<RosterEditor>()      the instance, created and loaded when there is none
//   isLoaded<RosterEditor>()  whether an instance exists
//   unload<RosterEditor>()    closes the instance for good (no questions asked)

// Implemented by every window class.
class Form
{
public:
    virtual ~Form() = default;
    // Load set-up; runs once per creation, before the window is first shown.
    virtual void onLoad() {}
    bool isUnloaded() const { return unloaded_; }

protected:
    // Activation of the window (every time it becomes the active window).
    virtual void onActivate() {}
    // A close request: ignore the event to keep the window open.
    virtual void onCloseRequest(QCloseEvent *event);
    // What both window kinds do with a close event: the program's own close asks
    // nothing; the user's runs onCloseRequest and unloads the window when accepted.
    void handleCloseEvent(QCloseEvent *event);

    // Marks the window closed for good and destroys it once control is back in the
    // event loop; the registry forgets it at once. Safe inside the window's own handlers.
    void unloadSelf();
    // True while the program itself is closing the window (not the user).
    bool closingByProgram() const { return closingByProgram_; }

private:
    friend void unloadForm(Form *form);
    bool unloaded_ = false;
    bool closingByProgram_ = false;
};

namespace form_registry
{
QWidget *find(std::type_index type);
void store(std::type_index type, QWidget *widget);
} // namespace form_registry

// Closes a form as the program does: its close handler sees closingByProgram().
void unloadForm(Form *form);

template <class W>
concept FormWidget = std::derived_from<W, QWidget> && std::derived_from<W, Form>;

template <FormWidget W> W *loadedForm()
{
    auto *w = static_cast<W *>(form_registry::find(typeid(W)));
    return w && !w->isUnloaded() ? w : nullptr;
}

template <FormWidget W> bool isLoaded()
{
    return loadedForm<W>() != nullptr;
}

template <FormWidget W> W *form()
{
    if (W *existing = loadedForm<W>())
        return existing;
    auto *w = new W;
    form_registry::store(typeid(W), w);
    w->onLoad();
    return w;
}

template <FormWidget W> void unload()
{
    if (W *w = loadedForm<W>())
        unloadForm(w);
}
