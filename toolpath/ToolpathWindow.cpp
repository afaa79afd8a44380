#include "ToolpathWindow.h"

#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include "EngineText.h"
#include "FileAccess.h"
#include "Services.h"
#include "ToolpathView.h"

namespace qm {

ToolpathWindow::ToolpathWindow(Services& services, QWidget* parent)
    : QWidget(parent), services_(services), view_(new ToolpathView(this)), note_(new QLabel(this)) {
    setObjectName("Toolpath");
    setWindowTitle(QString::fromUtf8(kCaption));
    view_->setObjectName("ToolpathView");
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    note_->setObjectName("ToolpathNote");
    note_->setWordWrap(true);
    note_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(view_, 1);
    layout->addWidget(note_);

    ViewFit = Action(QStringLiteral("&Fit to Extents"), QKeySequence(Qt::Key_F));
    ViewTop = Action(QStringLiteral("&Top (XY)"), QKeySequence(Qt::Key_1));
    ViewFront = Action(QStringLiteral("F&ront (XZ)"), QKeySequence(Qt::Key_2));
    ViewRight = Action(QStringLiteral("&Right (YZ)"), QKeySequence(Qt::Key_3));
    ViewIsometric = Action(QStringLiteral("&Isometric"), QKeySequence(Qt::Key_4));
    ColourByTool = Action(QStringLiteral("&Colour by Tool"));
    ColourByTool->setCheckable(true);
    PreviousMove = Action(QStringLiteral("&Previous Moving Line"), QKeySequence(Qt::Key_PageUp));
    NextMove = Action(QStringLiteral("&Next Moving Line"), QKeySequence(Qt::Key_PageDown));
    SavePicture = Action(QStringLiteral("&Save Picture\u2026"));
    using View = ToolpathView::StandardView;
    connect(ViewFit, &QAction::triggered, view_, &ToolpathView::FitToExtents);
    connect(ViewTop, &QAction::triggered, view_, [this] { view_->ShowStandardView(View::Top); });
    connect(ViewFront, &QAction::triggered, view_, [this] { view_->ShowStandardView(View::Front); });
    connect(ViewRight, &QAction::triggered, view_, [this] { view_->ShowStandardView(View::Right); });
    connect(ViewIsometric, &QAction::triggered, view_, [this] { view_->ShowStandardView(View::Isometric); });
    connect(ColourByTool, &QAction::toggled, view_, &ToolpathView::SetColourByTool);
    connect(PreviousMove, &QAction::triggered, view_, [this] { emit view_->stepRequested(-1); });
    connect(NextMove, &QAction::triggered, view_, [this] { emit view_->stepRequested(+1); });
    connect(SavePicture, &QAction::triggered, this, &ToolpathWindow::SavePicture_Click);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowContextMenu(view_->mapToGlobal(at)); });
}

// The keys are shown in the menu; the view itself answers them while it has the focus.
QAction* ToolpathWindow::Action(const QString& caption, const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        view_->addAction(action);
    }
    return action;
}

void ToolpathWindow::ShowContextMenu(const QPoint& at) {
    QMenu menu(this);
    menu.addActions({ViewFit, ViewTop, ViewFront, ViewRight, ViewIsometric});
    menu.addSeparator();
    menu.addAction(ColourByTool);
    menu.addSeparator();
    menu.addActions({PreviousMove, NextMove});
    menu.addSeparator();
    menu.addAction(SavePicture);
    menu.exec(at);
}

void ToolpathWindow::SetNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

QString ToolpathWindow::Note() const { return note_->text(); }

QByteArray PictureBytes(ToolpathView& view, const QString& path) {
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) return view.SvgPicture();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    view.Picture().save(&buffer, "PNG");
    return bytes;
}

void ToolpathWindow::SavePicture_Click() {
    const std::optional<QString> chosen = services_.SaveFileDialog(
        {QStringLiteral("PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg"), QString(), QStringLiteral("Toolpath.png"),
         QStringLiteral("Save Picture")});
    if (!chosen) return;
    QString path = *chosen;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) && !path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    const QByteArray bytes = PictureBytes(*view_, path);
    const Status status = bytes.isEmpty() ? Status::Fail("the picture could not be made")
                                          : WriteFileSafely(EnginePath(path), std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!status.ok()) services_.Message(path + QStringLiteral(" could not be written: ") + QString::fromStdString(status.message()));
}

void ToolpathWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

}  // namespace qm
