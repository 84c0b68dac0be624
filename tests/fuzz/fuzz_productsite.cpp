// The product site's update.txt and config.txt, read from the same bytes.
// Invariants: each value is its line, trimmed; an update is offered only for a
// version that looks like one (no markup, at most 32 characters) other than
// ours; a purchase link only with "true" first; no link but an http or https
// one with a host is ever offered.

#include "FuzzSupport.h"

#include "core/online/ProductSite.h"
#include "core/text/TextFile.h"

#include <QUrl>

namespace {

bool isEmptyOrWeb(const QString &link)
{
    if (link.isEmpty())
        return true;
    const QUrl url(link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

} // namespace

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
    FUZZ_CHECK(offered == (looksLikeVersion(update.latestVersion) && isOtherVersion(kVersionText, update.latestVersion)
                           && isEmptyOrWeb(update.downloadLink)));
    if (offered) {
        FUZZ_CHECK(!update.latestVersion.isEmpty() && update.latestVersion.size() <= 32);
        FUZZ_CHECK(!update.latestVersion.contains(QLatin1Char('<')) && !update.latestVersion.contains(QLatin1Char('&')));
    }
    FUZZ_CHECK(!offersUpdate(kVersionText, UpdateFile{kVersionText.toUpper(), update.downloadLink, true}));
    FUZZ_CHECK(isWebLink(update.downloadLink) == (!update.downloadLink.isEmpty() && isEmptyOrWeb(update.downloadLink)));

    const PurchaseOffer offer = parseConfigurationFile(lines);
    const bool saysTrue = lines.value(0).trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    const QString link = lines.value(1).trimmed();
    FUZZ_CHECK(offer.show == (saysTrue && isEmptyOrWeb(link)));
    FUZZ_CHECK(offer.link == (offer.show ? link : QString()));
    return 0;
}
