#include "core/online/HttpResponse.h"

#include <zlib.h>

#include <algorithm>

namespace numsieve {

namespace {

// No chunk-size line a server needs is anywhere near this.
constexpr qsizetype kMaxChunkLine = 1024;
constexpr qsizetype kInflatePiece = 64 * 1024;

bool isDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

struct HttpResponseReader::Inflater {
    z_stream stream{};
    bool open = false;
    bool ended = false;   // at the end of a packed stream
    ~Inflater()
    {
        if (open)
            inflateEnd(&stream);
    }
};

HttpResponseReader::HttpResponseReader(qint64 maxBodyBytes) : m_maxBody(maxBodyBytes) {}

HttpResponseReader::~HttpResponseReader() = default;

QByteArray HttpResponseReader::header(QByteArrayView name) const
{
    for (const auto &[key, value] : m_headers)
        if (QByteArrayView(key).compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

void HttpResponseReader::end(State state)
{
    m_state = state;
    m_phase = Phase::Finished;
    m_pending = QByteArray();
    m_inflater.reset();
    if (state != State::Done)
        m_body = QByteArray();
}

bool HttpResponseReader::nextLine(QByteArray *line, qsizetype maxBytes)
{
    const qsizetype at = m_pending.indexOf('\n');
    if (at < 0 || at > maxBytes) {
        if (std::max(at, m_pending.size()) > maxBytes)
            end(State::Broken);
        return false;
    }
    *line = m_pending.left(at > 0 && m_pending.at(at - 1) == '\r' ? at - 1 : at);
    m_pending.remove(0, at + 1);
    return true;
}

HttpResponseReader::State HttpResponseReader::feed(QByteArrayView bytes)
{
    if (m_state != State::Reading)
        return m_state;
    m_pending.append(bytes);
    while (m_state == State::Reading) {
        const Phase phase = m_phase;
        const qsizetype pending = m_pending.size();
        if (m_phase == Phase::Header)
            readHeader();
        else
            readBody();
        if (m_phase == phase && m_pending.size() == pending)
            break;   // waits for more bytes
    }
    return m_state;
}

HttpResponseReader::State HttpResponseReader::close()
{
    if (m_state == State::Reading) {
        if (m_phase == Phase::UntilClose)
            finishBody();
        else
            end(State::Broken);
    }
    return m_state;
}

void HttpResponseReader::readHeader()
{
    QByteArray line;
    while (m_state == State::Reading && m_phase == Phase::Header) {
        const qsizetype room = kMaxHeaderBytes - m_headerBytes;
        if (!nextLine(&line, room))
            return;
        m_headerBytes += line.size() + 2;
        if (m_status == 0) {
            // "HTTP/1.1 200 OK"
            if (line.size() < 12 || !line.startsWith("HTTP/1.") || line.at(8) != ' '
                || !isDigits(QByteArrayView(line).sliced(9, 3)) || (line.size() > 12 && line.at(12) != ' '))
                return end(State::Broken);
            m_status = QByteArrayView(line).sliced(9, 3).toInt();
            if (m_status < 100)
                return end(State::Broken);
            continue;
        }
        if (!line.isEmpty()) {
            const qsizetype colon = line.indexOf(':');
            // A folded line (starting with a blank) is no longer sent by anyone honest.
            if (colon <= 0 || line.at(0) == ' ' || line.at(0) == '\t' || line.left(colon).contains(' '))
                return end(State::Broken);
            m_headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
            continue;
        }
        if (m_status < 200) {
            // An informational answer comes before the real one.
            m_status = 0;
            m_headers.clear();
            continue;
        }
        if (!startBody())
            return;
    }
}

bool HttpResponseReader::startBody()
{
    const QByteArray coding = header("content-encoding").toLower();
    if (coding == "gzip" || coding == "x-gzip" || coding == "deflate") {
        m_inflater = std::make_unique<Inflater>();
        // 16: a gzip wrapper; 32: zlib or gzip, as "deflate" is sent either way.
        if (inflateInit2(&m_inflater->stream, (coding == "deflate" ? 32 : 16) + MAX_WBITS) != Z_OK) {
            end(State::Broken);
            return false;
        }
        m_inflater->open = true;
    } else if (!coding.isEmpty() && coding != "identity") {
        end(State::Broken);
        return false;
    }
    if (m_status == 204 || m_status == 304)
        return finishBody();

    QList<QByteArray> transfer;
    QList<QByteArray> lengths;
    for (const auto &[key, value] : std::as_const(m_headers)) {
        if (key.compare("transfer-encoding", Qt::CaseInsensitive) == 0)
            transfer.append(value.toLower());
        else if (key.compare("content-length", Qt::CaseInsensitive) == 0)
            for (const QByteArray &part : value.split(','))
                lengths.append(part.trimmed());
    }
    if (!transfer.isEmpty()) {
        if (transfer != QList<QByteArray>{"chunked"}) {
            end(State::Broken);
            return false;
        }
        m_phase = Phase::ChunkSize;
        return true;
    }
    if (lengths.isEmpty()) {
        m_phase = Phase::UntilClose;
        return true;
    }
    const QByteArray &length = lengths.first();
    if (!isDigits(length) || length.size() > 18 || lengths.count(length) != lengths.size()) {
        end(State::Broken);
        return false;
    }
    m_left = length.toLongLong();
    if (m_left > m_maxBody) {
        end(State::TooLarge);
        return false;
    }
    if (m_left == 0)
        return finishBody();
    m_phase = Phase::Length;
    return true;
}

void HttpResponseReader::readBody()
{
    QByteArray line;
    switch (m_phase) {
    case Phase::Length:
    case Phase::ChunkData:
    case Phase::UntilClose: {
        const qsizetype take = m_phase == Phase::UntilClose ? m_pending.size()
                                                            : qsizetype(std::min<qint64>(m_left, m_pending.size()));
        if (take == 0)
            return;
        const QByteArray piece = m_pending.left(take);
        m_pending.remove(0, take);
        if (!takeBody(piece))
            return;
        if (m_phase == Phase::UntilClose)
            return;
        m_left -= take;
        if (m_left == 0) {
            if (m_phase == Phase::Length)
                finishBody();
            else
                m_phase = Phase::ChunkEnd;
        }
        return;
    }
    case Phase::ChunkEnd:
        if (nextLine(&line, 2)) {
            if (!line.isEmpty())
                return end(State::Broken);
            m_phase = Phase::ChunkSize;
        }
        return;
    case Phase::ChunkSize: {
        if (!nextLine(&line, kMaxChunkLine))
            return;
        // "1a2b" with an optional ";extension"
        const qsizetype extension = line.indexOf(';');
        const QByteArray size = (extension < 0 ? line : line.left(extension)).trimmed();
        bool ok = false;
        const qint64 bytes = size.size() <= 15 ? size.toLongLong(&ok, 16) : -1;
        if (!ok || bytes < 0 || size.startsWith('+') || size.startsWith('-'))
            return end(State::Broken);
        if (m_sent + bytes > m_maxBody)
            return end(State::TooLarge);
        m_left = bytes;
        m_phase = bytes == 0 ? Phase::Trailer : Phase::ChunkData;
        return;
    }
    case Phase::Trailer: {
        if (!nextLine(&line, kMaxHeaderBytes - m_headerBytes))
            return;
        m_headerBytes += line.size() + 2;
        if (line.isEmpty())
            finishBody();
        return;
    }
    case Phase::Header:
    case Phase::Finished:
        return;
    }
}

bool HttpResponseReader::takeBody(QByteArrayView sent)
{
    m_sent += sent.size();
    if (m_sent > m_maxBody) {
        end(State::TooLarge);
        return false;
    }
    if (!m_inflater) {
        m_body.append(sent);
        return true;
    }
    z_stream &z = m_inflater->stream;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(sent.data()));
    z.avail_in = uInt(sent.size());
    bool full = false;   // the last piece filled its room: more may wait inside
    while (z.avail_in > 0 || (full && !m_inflater->ended)) {
        if (m_inflater->ended) {
            // Another packed stream follows (gzip allows several members).
            inflateReset(&z);
            m_inflater->ended = false;
        }
        // Unpacked a piece at a time, so that a bomb is caught as it passes
        // the limit, not after it has filled the memory.
        const qsizetype before = m_body.size();
        m_body.resize(before + kInflatePiece);
        z.next_out = reinterpret_cast<Bytef *>(m_body.data() + before);
        z.avail_out = uInt(kInflatePiece);
        const int result = inflate(&z, Z_NO_FLUSH);
        full = z.avail_out == 0;
        m_body.resize(m_body.size() - qsizetype(z.avail_out));
        if (m_body.size() > m_maxBody) {
            end(State::TooLarge);
            return false;
        }
        if (result == Z_STREAM_END) {
            m_inflater->ended = true;
        } else if (result == Z_BUF_ERROR && z.avail_in == 0) {
            break;
        } else if (result != Z_OK) {
            end(State::Broken);
            return false;
        }
    }
    return true;
}

bool HttpResponseReader::finishBody()
{
    // A packed body that stops before its end is cut short.
    if (m_inflater && !m_inflater->ended && m_sent > 0) {
        end(State::Broken);
        return false;
    }
    end(State::Done);
    return true;
}

} // namespace numsieve
