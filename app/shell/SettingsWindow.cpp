#include "app/shell/SettingsWindow.h"

#include "app/AppModel.h"
#include "app/BuildSettings.h"
#include "app/Desktop.h"
#include "app/ReleaseUpdate.h"
#include "app/shell/ShellSymbols.h"
#include "app/shell/UpdateSection.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velquor::shell {

namespace {

constexpr int symbolSize = 16;

const QString privacyStatement = QStringLiteral(
    "Text and files you inspect stay on this machine. Velquor uses the network only when you check "
    "for updates, and never sends inspected content.");

QLabel* secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QPushButton* smallButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    button->setFont(font);
    return button;
}

QUrl address(const char* text) { return QUrl(QString::fromUtf8(text)); }

}  // namespace

SettingsWindow::SettingsWindow(app::AppModel& model, app::Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), desktop_(desktop) {
    setWindowTitle(QStringLiteral("Velquor Settings"));
    setMinimumWidth(460);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePrivacySection());
    layout->addWidget(makeAboutSection());
    layout->addStretch();
    connect(&model_, &app::AppModel::updateStateChanged, this, &SettingsWindow::showUpdateState);
    showUpdateState();
}

QWidget* SettingsWindow::makePrivacySection() {
    auto* section = new QGroupBox(QStringLiteral("Privacy"), this);
    auto* layout = new QVBoxLayout(section);
    auto* statement = secondaryLabel(privacyStatement, section);
    statement->setObjectName(QStringLiteral("privacyStatement"));
    layout->addWidget(statement);
    auto* link = new QPushButton(QStringLiteral("Privacy"), section);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setAccessibleName(QStringLiteral("Privacy"));
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: palette(link); text-decoration: underline; border: none; "
                       "padding: 0; text-align: left; }"));
    connect(link, &QPushButton::clicked, this, [this] { desktop_.openAddress(address(app::buildPrivacyAddress)); });
    layout->addWidget(link, 0, Qt::AlignLeft);
    return section;
}

QWidget* SettingsWindow::makeAboutSection() {
    auto* section = new QGroupBox(QStringLiteral("About"), this);
    auto* form = new QFormLayout(section);
    auto* version = new QLabel(app::runningVersion(), section);
    version->setObjectName(QStringLiteral("versionValue"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Version"), version);
    form->addRow(makeUpdateRow());

    auto* links = new QHBoxLayout;
    auto* website = smallButton(QStringLiteral("Website"), section);
    auto* feedback = smallButton(QStringLiteral("Send feedback"), section);
    connect(website, &QPushButton::clicked, this, [this] { desktop_.openAddress(address(app::buildWebsiteAddress)); });
    connect(feedback, &QPushButton::clicked, this,
            [this] { desktop_.openAddress(address(app::buildFeedbackAddress)); });
    links->addWidget(website);
    links->addWidget(feedback);
    links->addStretch();
    form->addRow(links);
    return section;
}

QWidget* SettingsWindow::makeUpdateRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    updateProgress_ = new QProgressBar(row);
    updateProgress_->setRange(0, 0);
    updateProgress_->setMaximumWidth(80);
    updateProgress_->setTextVisible(false);
    updateSymbol_ = new QLabel(row);
    updateText_ = new QLabel(row);
    updateText_->setObjectName(QStringLiteral("updateText"));
    updateText_->setWordWrap(true);
    updateButton_ = new QPushButton(row);
    updateButton_->setObjectName(QStringLiteral("updateButton"));
    connect(updateButton_, &QPushButton::clicked, this, &SettingsWindow::updateButtonClicked);
    layout->addWidget(updateProgress_);
    layout->addWidget(updateSymbol_);
    layout->addWidget(updateText_, 1);
    layout->addWidget(updateButton_);
    layout->addStretch();
    return row;
}

void SettingsWindow::showUpdateState() {
    const UpdateSectionContent content = updateSectionContent(model_.updateState());
    updateProgress_->setVisible(content.busy);
    const QIcon symbol = symbolIcon(content.symbol);
    updateSymbol_->setPixmap(symbol.isNull() ? QPixmap() : symbol.pixmap(symbolSize, symbolSize));
    updateSymbol_->setVisible(!symbol.isNull());
    updateText_->setText(content.text);
    updateText_->setVisible(!content.text.isEmpty());
    updateButton_->setText(content.button);
    updateButton_->setAccessibleName(content.button);
    updateButton_->setVisible(!content.button.isEmpty());
}

void SettingsWindow::updateButtonClicked() {
    switch (updateSectionContent(model_.updateState()).action) {
        case UpdateSectionContent::Action::check:
            model_.checkForUpdates(false);
            break;
        case UpdateSectionContent::Action::download:
            model_.downloadAvailableUpdate();
            break;
        case UpdateSectionContent::Action::none:
            break;
    }
}

}  // namespace velquor::shell
