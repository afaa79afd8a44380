#include "HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qm {

namespace {

constexpr int kAnchorRole = Qt::UserRole;

QToolButton* Button(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quillmark Help"));
    resize(960, 700);

    back_ = Button(this, QStringLiteral("Back"), "cmdBack");
    forward_ = Button(this, QStringLiteral("Forward"), "cmdForward");
    auto* home = Button(this, QStringLiteral("Contents"), "cmdHome");
    searchField_ = new QLineEdit(this);
    searchField_->setObjectName(QStringLiteral("txtSearch"));
    searchField_->setPlaceholderText(QStringLiteral("Search"));
    searchField_->setClearButtonEnabled(true);
    auto* find = Button(this, QStringLiteral("Find"), "cmdFind");

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("Manual"));
    browser_->setOpenExternalLinks(true);
    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("Contents"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(home);
    bar->addStretch();
    bar->addWidget(searchField_);
    bar->addWidget(find);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        browser_->scrollToAnchor(item->data(kAnchorRole).toString());
    });
    connect(contents_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        browser_->scrollToAnchor(item->data(kAnchorRole).toString());
    });
    connect(find, &QToolButton::clicked, this, [this] { FindNext(searchField_->text()); });
    connect(searchField_, &QLineEdit::returnPressed, this, [this] { FindNext(searchField_->text()); });
}

std::optional<QString> HelpWindow::Open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    const QString html = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError) return file.errorString();
    browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    FillContents(html);
    return std::nullopt;
}

bool HelpWindow::FindNext(const QString& text) {
    if (text.isEmpty()) return false;
    if (browser_->find(text)) return true;
    QTextCursor top = browser_->textCursor();
    top.movePosition(QTextCursor::Start);
    browser_->setTextCursor(top);
    return browser_->find(text);
}

// One contents line per heading of level 2 or 3 that carries an id, level 3 indented.
void HelpWindow::FillContents(const QString& html) {
    contents_->clear();
    static const QRegularExpression heading(
        QStringLiteral(R"re(<h([23])\s+id="([^"]+)"[^>]*>(.*?)</h\1>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    for (auto match = heading.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        QString title = m.captured(3);
        title.remove(tag);
        QTextDocument plain;
        plain.setHtml(title);
        const QString indent = m.captured(1) == QLatin1String("3") ? QStringLiteral("    ") : QString();
        auto* item = new QListWidgetItem(indent + plain.toPlainText().simplified(), contents_);
        item->setData(kAnchorRole, m.captured(2));
    }
}

}  // namespace qm
