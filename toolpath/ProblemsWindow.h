#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

#include "Problem.h"

class QListWidget;

namespace qm {

// The problems found following the program, one a row with its line; Enter or a double
// click on a row goes to its line.
class ProblemsWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Program Problems";

    explicit ProblemsWindow(QWidget* parent = nullptr);

    void SetProblems(const std::vector<interp::Problem>& problems);
    QListWidget& list() { return *list_; }

  signals:
    void lineChosen(std::uint32_t line);

  private:
    void Choose();

    QListWidget* list_;
};

}  // namespace qm
