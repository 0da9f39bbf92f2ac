#include "sheet/PageSize.h"

#include "core/InputText.h"
#include "sheet/Keyword.h"
#include "sheet/Length.h"
#include "sheet/SheetError.h"

#include <utility>

namespace qrb {

PageSize parsePageSize(std::string_view text) {
    constexpr std::pair<std::string_view, PageSize (*)()> kNamed[] = {{"a4", &PageSize::a4},
                                                                      {"letter", &PageSize::letter},
                                                                      {"a3", &PageSize::a3},
                                                                      {"legal", &PageSize::legal}};
    for (const auto& [name, size] : kNamed) {
        if (isKeyword(text, name)) {
            return size();
        }
    }
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) {
        throw SheetError(quotedInput(text, 60, '\'') +
                         " is not a page size: use a4, letter, a3, legal or WIDTHxHEIGHT "
                         "(e.g. 210x297mm)");
    }
    const std::string first(text.substr(0, x));
    const std::string second(text.substr(x + 1));
    const auto secondUnit = lengthUnit(second);
    double width = 0;
    if (!lengthUnit(first) && secondUnit) {
        width = parseLength(first + *secondUnit);
    } else {
        width = parseLength(first);
    }
    const double height = parseLength(second);
    for (double side : {width, height}) {
        if (!(side >= PageSize::kMinMm && side <= PageSize::kMaxMm)) {
            throw SheetError("the page size " + quotedInput(text, 60, '\'') +
                             " is out of range: each side " + "must be between " +
                             formatMm(PageSize::kMinMm) + " and " + formatMm(PageSize::kMaxMm) +
                             " mm");
        }
    }
    return {"", {width, height}};
}

} // namespace qrb
