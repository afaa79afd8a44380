#include "EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>

#include <Qsci/qsciscintilla.h>

namespace qm {
namespace {

// Whether an assistive technology has said it listens.
bool listening = false;

bool Listening() {
    return listening || QAccessible::isActive();
}

// Consulted before QScintilla's own factory, which is installed earlier.
QAccessibleInterface* LightFactory(const QString& className, QObject* object) {
    if (Listening() || className != QLatin1String("QsciScintillaBase") || object == nullptr ||
        !object->isWidgetType()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

// Drops the editor's accessible when it is the full one (withText) or the plain one, so that
// the next query makes it afresh.
void Forget(QWidget& editor, bool withText) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&editor);
    if (accessible != nullptr && (accessible->textInterface() != nullptr) == withText) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(accessible));
    }
}

class ActivationObserver : public QAccessible::ActivationObserver {
  public:
    void accessibilityActiveChanged(bool active) override {
        listening = active;
        if (!active)
            return;
        for (QWidget* widget : QApplication::allWidgets()) {
            if (qobject_cast<QsciScintillaBase*>(widget) != nullptr)
                Forget(*widget, false);
        }
    }
};

}  // namespace

void UseLightAccessibility(QsciScintilla& editor) {
    static ActivationObserver* observer = nullptr;
    if (observer == nullptr) {
        observer = new ActivationObserver;
        QAccessible::installFactory(LightFactory);
        QAccessible::installActivationObserver(observer);
    }
    if (!Listening())
        Forget(editor, true);
}

}  // namespace qm
