// The band layout file ("layout.xml").
#include "frame/chrome/toolbarbands.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList keys = {QStringLiteral("MenuBar"), QStringLiteral("Logo"),
                                     QStringLiteral("Toolbar1"), QStringLiteral("Toolbar2"),
                                     QStringLiteral("Addressbar"), QStringLiteral("Tabbar")};
    QList<ToolBarBands::BandState> bands;
    if (ToolBarBands::parseLayout(QString::fromUtf8(fuzzBytes(data, size)), keys, &bands))
        (void)ToolBarBands::layoutText(bands);
    return 0;
}
