#include "support/scriptedplatform.h"

#include <QPrinter>

int ScriptedPlatform::messageBox(QWidget *owner, const QString &text, const QString &title, int style)
{
    const PlatformCall call{QStringLiteral("message"), text, title, style, 0, {}, {}, owner};
    calls.append(call);
    if (onMessage)
        onMessage(call);
    return answers.isEmpty() ? IDOK : answers.dequeue();
}

QString ScriptedPlatform::openFileName(QWidget *owner, const FileDialogRequest &request)
{
    calls.append({QStringLiteral("open"), {}, request.title, 0, 0, request.filter, request.fileName, owner});
    return openFiles.isEmpty() ? QString() : openFiles.dequeue();
}

QString ScriptedPlatform::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
    calls.append({QStringLiteral("save"), {}, request.title, 0, 0, request.filter, request.fileName, owner});
    return saveFiles.isEmpty() ? QString() : saveFiles.dequeue();
}

std::optional<ColorValue> ScriptedPlatform::chooseColor(QWidget *owner, ColorValue initial)
{
    calls.append({QStringLiteral("color"), {}, {}, 0, int(initial), {}, {}, owner});
    return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

int ScriptedPlatform::chooseFromList(QWidget *owner, const QString &title, const QString &label,
                                     const QStringList &items, int current)
{
    calls.append({QStringLiteral("list"), label + u'|' + items.join(u'|'), title, 0, current, {}, {}, owner});
    return listChoices.isEmpty() ? -1 : listChoices.dequeue();
}

bool ScriptedPlatform::printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options)
{
    calls.append(
        {QStringLiteral("print"), {}, {}, 0, options.fitToPage, {}, options.pdfFile, owner, options.teacherView});
    const PrintAnswer answer = prints.isEmpty() ? PrintAnswer{false, 1, {}} : prints.dequeue();
    if (!answer.accept)
        return false;
    printer.setCopyCount(answer.copies);
    if (!answer.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer.outputFile);
    } else if (!answer.queue.isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(answer.queue);
        // Qt keeps the printer it had for a name it does not know; a dialog offers none such.
        if (printer.printerName() != answer.queue)
            qFatal("the print answer names a queue the printing system does not have: %s", qPrintable(answer.queue));
    }
    options.fitToPage = answer.fitToPage;
    options.teacherView = answer.teacherView;
    if (onPrintAnswered)
        onPrintAnswered();
    return true;
}

void ScriptedPlatform::switchInputMethodOn(QWidget *box)
{
    calls.append({QStringLiteral("ime"), box ? box->objectName() : QString(), {}, 0, 0, {}, {}, box});
}

QList<PlatformCall> ScriptedPlatform::callsOf(const QString &kind) const
{
    QList<PlatformCall> out;
    std::copy_if(calls.cbegin(), calls.cend(), std::back_inserter(out),
                 [&kind](const PlatformCall &c) { return c.kind == kind; });
    return out;
}

QStringList ScriptedPlatform::messageLog() const
{
    QStringList out;
    for (const PlatformCall &c : callsOf(QStringLiteral("message")))
        out.append(c.title + u'|' + c.text + u'|' + QString::number(c.style));
    return out;
}
