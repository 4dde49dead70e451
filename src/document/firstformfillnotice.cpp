#include "firstformfillnotice.h"

#include "noticedialog.h"


FirstFormFillNotice::FirstFormFillNotice(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstFormFill"));
    buildNoticeDialog(this, 19500, 19501, {19502, 19503, 19504, 19505});
}
