#include "ui/report/PreviewValueDisplay.h"

#include <QChar>

namespace velquor::ui {

namespace {

bool isVariationSelector(char32_t scalar) {
    return (scalar >= 0xFE00 && scalar <= 0xFE0F) || (scalar >= 0xE0100 && scalar <= 0xE01EF);
}

bool isUnseen(char32_t scalar) {
    switch (QChar::category(scalar)) {
        case QChar::Other_Format:
        case QChar::Other_Control:
        case QChar::Other_PrivateUse:
        case QChar::Other_Surrogate:
            return true;
        default:
            return isVariationSelector(scalar);
    }
}

QString codePointTag(char32_t scalar) {
    return QStringLiteral("<U+") + QString::number(static_cast<uint>(scalar), 16).toUpper().rightJustified(4, u'0') +
           QChar(u'>');
}

}  // namespace

QString displayPreviewValue(QStringView value) {
    QString shown;
    shown.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        char32_t scalar = value[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(scalar) && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            scalar = QChar::surrogateToUcs4(value[i], value[i + 1]);
            units = 2;
        }
        switch (scalar) {
            case U'\t':
                shown += QStringLiteral("<tab>");
                break;
            case U'\n':
                shown += QStringLiteral("<line break>");
                break;
            case U'\r':
                shown += QStringLiteral("<carriage return>");
                break;
            case U' ':
                shown += QStringLiteral("<space>");
                break;
            default:
                if (isUnseen(scalar)) {
                    shown += codePointTag(scalar);
                } else {
                    shown += value.mid(i, units);
                }
        }
        i += units - 1;
    }
    return shown;
}

}  // namespace velquor::ui
