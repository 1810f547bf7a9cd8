#include "gui/window/CommandButtons.h"

#include <QLabel>
#include <QPushButton>

#include "base/Version.h"
#include "gui/window/WorkbenchControls.h"

namespace qrv::gui {

CommandButtons::CommandButtons(WorkbenchControls& controls) {
    using C = Control;
    for (const C c :
         {C::reformat, C::generateHash, C::coverLetter, C::compareReturnFile, C::chooseComparisonFile,
          C::convertTo100M, C::tierRateReport, C::convertContract, C::mediaDetailReport, C::clearForm}) {
        addWidget(controls.button(c));
    }
    addStretch(1);
    addWidget(controls.label(C::convertContractCaption));
    auto* version = new QLabel(tr("Version : %1").arg(QString::fromUtf8(kVersion)), controls.form());
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAccessibleName(version->text());
    addWidget(version);
}

}  // namespace qrv::gui
