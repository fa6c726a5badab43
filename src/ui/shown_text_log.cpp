#include "ui/shown_text_log.h"

#include "ui/examination_button.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
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

QStringList MainWindowLines(const QMainWindow& window) {
    const LayoutScale scale = LayoutScale::Of(&window);
    const QScreen* screen = window.screen();
    QStringList lines{QStringLiteral("window %1: factor %2 dpi %3 ratio %4")
                          .arg(window.objectName())
                          .arg(scale.factor())
                          .arg(scale.dpi())
                          .arg(screen != nullptr ? screen->devicePixelRatio() : 1.0)};
    for (const ExaminationButton* button : window.findChildren<ExaminationButton*>()) {
        if (!button->isVisibleTo(&window))
            continue;
        if (const QStringList caption = button->CaptionLines(); caption.size() > 1)
            lines << QStringLiteral("button %1: %2")
                         .arg(button->objectName(), caption.join(QStringLiteral(" | ")));
    }
    return lines;
}

void Write(const QString& line) {
    std::fprintf(stderr, "tessaro: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
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
        else if (const auto* window = qobject_cast<const QMainWindow*>(watched); window) {
            for (const QString& each : MainWindowLines(*window))
                Write(each);
            return false;
        }
        if (!line.isEmpty())
            Write(line);
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
