#include "frmfirstformfill.h"

#include "noticedialog.h"


frmFirstFormFill::frmFirstFormFill(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstFormFill"));
    BuildNoticeDialog(this, 19500, 19501, {19502, 19503, 19504, 19505});
}
