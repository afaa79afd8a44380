#include "StateWords.h"

#include <cstdio>

namespace qm::interp {
namespace {

std::string G(int tenths) {
    std::string name = "G" + std::to_string(tenths / 10);
    if (tenths % 10)
        name += "." + std::to_string(tenths % 10);
    return name;
}

const char* PlaneCode(Plane plane) {
    switch (plane) {
        case Plane::ZX:
            return "G18";
        case Plane::YZ:
            return "G19";
        case Plane::XY:
            break;
    }
    return "G17";
}

const char* FeedModeCode(FeedMode mode) {
    switch (mode) {
        case FeedMode::InverseTime:
            return "G93";
        case FeedMode::PerRevolution:
            return "G95";
        case FeedMode::PerMinute:
            break;
    }
    return "G94";
}

const char* SpindleCode(Spindle spindle) {
    switch (spindle) {
        case Spindle::Clockwise:
            return "M3";
        case Spindle::CounterClockwise:
            return "M4";
        case Spindle::Stopped:
            break;
    }
    return "M5";
}

bool IsCycle(int motion) {
    return motion == 730 || motion == 760 || (motion >= 810 && motion <= 890);
}

// A cycle's words as they stand for its next hole: R and Z, and Q and P when set.
std::string CycleWords(const ModalState& s) {
    if (!IsCycle(s.motion))
        return {};
    std::string words;
    const auto add = [&words](char letter, double value) {
        words += (words.empty() ? "" : " ") + WordOf(letter, value);
    };
    if (s.cycleHasR)
        add('R', s.cycleR);
    if (s.cycleHasZ)
        add('Z', s.cycleZ);
    if (s.cycleQ != 0)
        add('Q', s.cycleQ);
    if (s.cycleP != 0)
        add('P', s.cycleP);
    return words;
}

}  // namespace

std::vector<StateWord> StateWordsOf(const ModalState& s, Dialect dialect) {
    std::vector<StateWord> words;
    words.push_back({"motion", G(s.motion), CycleWords(s)});
    words.push_back({"plane", PlaneCode(s.plane), {}});
    words.push_back({"distance", s.incremental ? "G91" : "G90", {}});
    if (dialect == Dialect::Rs274ngc)
        words.push_back({"arc centres", s.arcIncremental ? "G91.1" : "G90.1", {}});
    words.push_back({"units", s.inches ? "G20" : "G21", {}});
    const double feedScale = s.inches && s.feedMode != FeedMode::InverseTime ? kMmPerInch : 1.0;
    words.push_back({"feed mode", FeedModeCode(s.feedMode), WordOf('F', s.feed / feedScale)});
    words.push_back({"cutter radius", G(s.cutterComp),
                     s.cutterComp == 400 ? std::string() : WordOf('D', s.dNumber)});
    words.push_back({"tool length", G(s.toolLengthMode),
                     s.toolLengthMode == 490 ? std::string() : WordOf('H', s.hNumber)});
    words.push_back({"work offset", G(s.workOffset),
                     s.workOffset == 541 ? WordOf('P', s.extraOffset) : std::string()});
    if (s.g92Active)
        words.push_back({"axis offset", "G92", {}});
    words.push_back({"return level", s.returnLevel == ReturnLevel::RPlane ? "G99" : "G98", {}});
    words.push_back({"spindle", SpindleCode(s.spindle), WordOf('S', s.speed)});
    words.push_back({"spindle mode", s.constantSurfaceSpeed ? "G96" : "G97", {}});
    if (s.mist)
        words.push_back({"coolant", "M7", {}});
    if (s.flood)
        words.push_back({"coolant", "M8", {}});
    if (!s.mist && !s.flood)
        words.push_back({"coolant", "M9", {}});
    words.push_back({"tool", WordOf('T', s.toolInSpindle),
                     s.tool != s.toolInSpindle ? "next " + WordOf('T', s.tool) : std::string()});
    if (s.stop != 0)
        words.push_back({"stop", "M" + std::to_string(s.stop), {}});
    return words;
}

std::string WordOf(char letter, double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%c%.4f", letter, value);
    std::string word = text;
    while (word.back() == '0')
        word.pop_back();
    if (word.back() == '.')
        word.pop_back();
    return word == std::string{letter, '-', '0'} ? std::string{letter, '0'} : word;
}

std::vector<std::string> SpellingsOf(const std::string& code) {
    std::vector<std::string> spellings{code};
    // G1 -> G01, G1.5 -> G01.5: controllers and dictionaries write leading zeros.
    const std::size_t digits = code.find_first_not_of("0123456789", 1);
    const std::size_t length = (digits == std::string::npos ? code.size() : digits) - 1;
    if (length == 1)
        spellings.push_back(code.substr(0, 1) + "0" + code.substr(1));
    return spellings;
}

}  // namespace qm::interp
