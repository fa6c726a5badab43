#include "ui/shown_text_log.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tessaro::ui {
namespace {

QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        if (action->isVisible() && !action->isSeparator())
            texts << action->text();
    return texts;
}

QStringList DialogTexts(const QDialog& dialog) {
    QStringList texts;
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty())
            texts << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            texts << (button->text().isEmpty() ? button->toolTip() : button->text());
        else if (const auto* combo = qobject_cast<const QComboBox*>(w))
            texts << combo->currentText();
    }
    return texts;
}

class ShownTextLog : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show)
            return false;
        QString line;
        if (const auto* menu = qobject_cast<const QMenu*>(watched))
            line = QStringLiteral("menu: ") + MenuTexts(*menu).join(QStringLiteral(" | "));
        else if (const auto* dialog = qobject_cast<const QDialog*>(watched);
                 dialog && dialog->isWindow() && !qobject_cast<const QMessageBox*>(dialog))
            line =
                QStringLiteral("dialog \"%1\": %2")
                    .arg(dialog->windowTitle(), DialogTexts(*dialog).join(QStringLiteral(" | ")));
        if (!line.isEmpty()) {
            std::fprintf(stderr, "tessaro: %s\n", line.toUtf8().constData());
            std::fflush(stderr);
        }
        return false;
    }
};

} // namespace

void InstallShownTextLogIfWanted(QCoreApplication& application) {
    const char* wanted = std::getenv("TESSARO_LOG_MESSAGES");
    if (wanted == nullptr || std::strcmp(wanted, "1") != 0)
        return;
    application.installEventFilter(new ShownTextLog(&application));
}

} // namespace tessaro::ui
