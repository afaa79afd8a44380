#include "ProblemsWindow.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace qm {

ProblemsWindow::ProblemsWindow(QWidget* parent) : QWidget(parent, Qt::Tool), list_(new QListWidget(this)) {
    setObjectName("ProblemsWindow");
    setWindowTitle(QString::fromUtf8(kCaption));
    list_->setObjectName("ProblemList");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
    resize(520, 260);
    // Activated by Enter and by a double click.
    connect(list_, &QListWidget::itemActivated, this, [this] { Choose(); });
}

void ProblemsWindow::SetProblems(const std::vector<interp::Problem>& problems) {
    list_->clear();
    for (const interp::Problem& problem : problems) {
        QString row = QStringLiteral("Line %1: %2").arg(problem.line).arg(QString::fromStdString(problem.reason));
        if (!problem.source.empty()) row += QStringLiteral(" (in %1)").arg(QString::fromStdString(problem.source));
        if (problem.stopped) row += QStringLiteral(" - following stopped here");
        auto* item = new QListWidgetItem(row, list_);
        item->setData(Qt::UserRole, problem.line);
    }
    if (problems.empty()) list_->addItem(QStringLiteral("No problems found."));
}

void ProblemsWindow::Choose() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->data(Qt::UserRole).isValid()) return;
    emit lineChosen(item->data(Qt::UserRole).toUInt());
}

}  // namespace qm
