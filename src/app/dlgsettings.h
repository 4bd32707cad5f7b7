#pragma once

#include "engine/endpointtest.h"
#include "engine/profile.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace tessaly {

// Tools > Settings: the base URLs of the quote sources and of the maker's server, and the least
// time between two chart requests. OK writes them to the Endpoints section; Cancel changes nothing.
class CDlgSettings final : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSettings(Profile& profile, QWidget* parent = nullptr);

    void accept() override;
    // Sends the test request of one quote endpoint, as typed, and shows the first answer line.
    void TestEndpoint(EndpointKind kind);

private:
    QLineEdit* AddHostRow(QGridLayout* grid, int row, const QString& label, const QString& name,
                          const std::string& value, EndpointKind* testKind);

    Profile& profile_;
    QLineEdit* historicalHost_;
    QLineEdit* quoteHost_;
    QLineEdit* currencyHost_;
    QLineEdit* makerHost_;
    QSpinBox* interval_;
    QLineEdit* testSymbol_;
    QLabel* testResult_;
};

} // namespace tessaly
