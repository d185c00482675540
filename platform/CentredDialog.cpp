#include "CentredDialog.h"

#include "QtUiServices.h"

#include <QShowEvent>

void TCentredDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnParent(*this);
    }
}
