#pragma once

#include "core/text/records/HiddenTextPayload.h"

#include <vector>

#include "ui/common/OutlinedBox.h"

class QVBoxLayout;

namespace velquor::ui {

// The messages hidden in tag characters or variation selectors: per payload its kind, its size
// in bytes and the decoded text, selectable, on an orange box.
class HiddenPayloadList : public OutlinedBox {
    Q_OBJECT

public:
    explicit HiddenPayloadList(QWidget* parent = nullptr);

    void setPayloads(const std::vector<text::HiddenTextPayload>& payloads);

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* payloadView(const text::HiddenTextPayload& payload);

    QVBoxLayout* rows_;
};

}  // namespace velquor::ui
