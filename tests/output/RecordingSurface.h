#pragma once

#include <QString>

#include <vector>

#include "PageSurface.h"

namespace qm::test {

// A page surface that records what is printed where. Every character is 2 mm wide; a printed
// line moves down by lineHeight.
class RecordingSurface : public PageSurface {
  public:
    struct Printed {
        int page;
        double x, y;
        QString text;
    };
    struct Line {
        int page;
        double x1, y1, x2, y2;
        int width;
    };

    explicit RecordingSurface(double lineHeight) : lineHeight_(lineHeight) {}

    void SetPosition(double x, double y) override {
        x_ = x;
        y_ = y;
    }
    double CurrentY() const override { return y_; }
    void PrintLine(const QString& text) override {
        printed.push_back({page, x_, y_, text});
        x_ = 0;
        y_ += lineHeight_;
    }
    double TextWidth(const QString& text) const override { return 2.0 * double(text.size()); }
    void SetLineWidth(int width) override { lineWidth_ = width; }
    void DrawLine(double x1, double y1, double x2, double y2) override {
        lines.push_back({page, x1, y1, x2, y2, lineWidth_});
    }
    void NewPage() override {
        ++page;
        x_ = y_ = 0;
    }

    // The printed texts below the header (the first three of each page are the header's).
    std::vector<Printed> Body() const {
        std::vector<Printed> body;
        for (const Printed& p : printed) {
            if (p.y > 2 * lineHeight_)
                body.push_back(p);
        }
        return body;
    }

    std::vector<Printed> printed;
    std::vector<Line> lines;
    int page = 1;

  private:
    double lineHeight_;
    double x_ = 0, y_ = 0;
    int lineWidth_ = 1;
};

}  // namespace qm::test
