#pragma once

#include <QString>
#include <QStringView>

namespace velquor::ui {

// How an example of a change shows a value: every scalar as itself, except tab, line feed,
// carriage return and space ("<tab>", "<line break>", "<carriage return>", "<space>") and the
// scalars nobody could see (format, control and private-use scalars, surrogates without their
// pair and variation selectors), which read "<U+200B>".
QString displayPreviewValue(QStringView value);

}  // namespace velquor::ui
