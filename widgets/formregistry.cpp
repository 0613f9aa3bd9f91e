#include "widgets/formregistry.h"

namespace
{
std::map<std::type_index, QPointer<QWidget>> &forms()
{
    static std::map<std::type_index, QPointer<QWidget>> map;
    return map;
}
} // namespace

QWidget *form_registry::find(std::type_index type)
{
    const auto it = forms().find(type);
    return it == forms().end() ? nullptr : it->second.data();
}

void form_registry::store(std::type_index type, QWidget *widget)
{
    forms()[type] = widget;
}

void Form::onCloseRequest(QCloseEvent *event)
{
    event->accept();
}

void Form::handleCloseEvent(QCloseEvent *event)
{
    if (closingByProgram_) {
        event->accept();
        return;
    }
    onCloseRequest(event);
    if (event->isAccepted())
        unloadSelf();
}

void Form::unloadSelf()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (auto *w = dynamic_cast<QWidget *>(this)) {
        w->hide();
        w->deleteLater();
    }
}

void unloadForm(Form *form)
{
    if (!form || form->isUnloaded())
        return;
    auto *w = dynamic_cast<QWidget *>(form);
    if (!w)
        return;
    form->closingByProgram_ = true;
    // Let the window run its close handler (a program close asks nothing) and then go.
    w->close();
    form->unloadSelf();
}
