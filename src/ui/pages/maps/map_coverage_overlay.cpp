#include "ui/pages/maps/map_coverage_overlay.h"

#include "lang/source_text.h"
#include "ui/pages/common/page_texts.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace torva {

namespace {

const SCoverageChoice& choiceOf(int column) {
    for (const SCoverageChoice& choice : coverageChoices()) {
        if (choice.column == column)
            return choice;
    }
    throw std::out_of_range("no coverage choice for column " + std::to_string(column));
}

} // namespace

const std::vector<SCoverageChoice>& coverageChoices() {
    static const std::vector<SCoverageChoice> choices{
        {PL("Liczba próbek"), kCoverageCounts, 0},
        {PL("Czas wtrysku gazu"), 5, 2},
        {PL("Ciśnienie (reduktor)"), 6, 0},
        {PL("Podciśnienie (reduktor)"), 7, 0},
        {PL("Temperatura gazu"), 8, 0},
        {PL("Temperatura reduktora"), 9, 0},
        {PL("Temperatura spalin"), 19, 0},
        {PL("Napięcie"), 10, 2},
        {PL("Czas wtrysku CR"), 20, 2},
    };
    return choices;
}

double coverageShade(int count, int maxCount) {
    if (count <= 0)
        return -1;
    if (maxCount <= 1)
        return 1;
    return std::log(double(count)) / std::log(double(maxCount));
}

CCellOverlay coverageOverlay(const CMapCoverage& coverage, int meanColumn) {
    const SCoverageChoice& choice = choiceOf(meanColumn);
    const QString samples = translatedText(PL("Próbki:"));
    const QString meanName = translatedText(choice.text);
    CCellOverlay overlay;
    overlay.reset(kMapRows, kMapColumns);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const SMapCell cell{column, row};
            const int count = coverage.count(cell);
            SOverlayCell& item = overlay.cell(row, column);
            item.shade = coverageShade(count, coverage.maxCount());
            item.tip = QStringLiteral("%1 %2").arg(samples).arg(count);
            if (meanColumn == kCoverageCounts)
                continue;
            const std::optional<double> mean = coverage.mean(cell, meanColumn);
            item.text = mean ? QString::number(*mean, 'f', choice.decimals) : QStringLiteral("-");
            item.tip = QStringLiteral("%1: %2\n%3").arg(meanName, item.text, item.tip);
        }
    }
    return overlay;
}

} // namespace torva
