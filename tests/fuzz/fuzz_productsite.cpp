// The product site's update.txt and config.txt, read from the same bytes.
// Invariants: each value is its line, trimmed; an update is offered only for a
// non-empty version other than ours; a purchase link only with "true" first.

#include "FuzzSupport.h"

#include "online/ProductSite.h"
#include "text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const QStringList lines = decodeLines(fuzzsupport::bytesOf(data, size));
    fuzzsupport::checkDecodedLines(lines);

    const UpdateFile update = parseUpdateFile(lines);
    FUZZ_CHECK(update.hasFirstLine == !lines.isEmpty());
    FUZZ_CHECK(update.latestVersion == lines.value(0).trimmed());
    FUZZ_CHECK(update.downloadLink == lines.value(1).trimmed());
    const bool offered = offersUpdate(kVersionText, update);
    FUZZ_CHECK(offered == (!update.latestVersion.isEmpty() && isOtherVersion(kVersionText, update.latestVersion)));
    FUZZ_CHECK(!offersUpdate(kVersionText, UpdateFile{kVersionText.toUpper(), update.downloadLink, true}));

    const PurchaseOffer offer = parseConfigurationFile(lines);
    const bool saysTrue = lines.value(0).trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    FUZZ_CHECK(offer.show == saysTrue);
    FUZZ_CHECK(offer.link == (saysTrue ? lines.value(1).trimmed() : QString()));
    return 0;
}
