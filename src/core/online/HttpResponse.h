#pragma once

#include <QByteArray>
#include <QList>

#include <memory>
#include <utility>

namespace numsieve {

// Reads one HTTP/1.1 answer as its bytes arrive, within fixed bounds, so
// that nothing a server sends can hold more memory than the limits: the
// status line and header lines together at most kMaxHeaderBytes (a header
// without end is broken at once, not read until a deadline), the body at
// most maxBodyBytes both as sent and as unpacked (a small gzip answer that
// unpacks to a gigabyte is too large the moment it passes the limit).
// Bodies framed by Content-Length, chunked or ended by the connection are
// read; gzip and deflate are unpacked. Informational answers (1xx) are
// skipped.
class HttpResponseReader
{
public:
    enum class State { Reading, Done, TooLarge, Broken };
    static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

    explicit HttpResponseReader(qint64 maxBodyBytes);
    ~HttpResponseReader();
    HttpResponseReader(const HttpResponseReader &) = delete;
    HttpResponseReader &operator=(const HttpResponseReader &) = delete;

    // Takes the next bytes of the connection. Once the state is no longer
    // Reading, further bytes change nothing.
    State feed(QByteArrayView bytes);
    // The connection closed: an answer without a length ends here, any
    // other answer is cut short.
    State close();
    State state() const { return m_state; }

    // Known once the header has been read.
    bool headerRead() const { return m_phase > Phase::Header; }
    int status() const { return m_status; }
    // The value of the first header line with this name (any letter case).
    QByteArray header(QByteArrayView name) const;
    // The body so far; whole once Done.
    const QByteArray &body() const { return m_body; }

private:
    enum class Phase { Header, Length, ChunkSize, ChunkData, ChunkEnd, Trailer, UntilClose, Finished };

    void readHeader();
    bool startBody();
    void readBody();
    // Takes body bytes as sent: unpacks them when they are packed.
    bool takeBody(QByteArrayView sent);
    bool finishBody();
    // Cuts the next line from the pending bytes; false while it is incomplete.
    bool nextLine(QByteArray *line, qsizetype maxBytes);
    void end(State state);

    struct Inflater;
    qint64 m_maxBody;
    State m_state = State::Reading;
    Phase m_phase = Phase::Header;
    QByteArray m_pending;      // bytes received and not yet taken
    qsizetype m_headerBytes = 0;   // over every header read, 1xx answers included
    int m_status = 0;
    QList<std::pair<QByteArray, QByteArray>> m_headers;
    qint64 m_left = 0;         // of the body or of the current chunk
    qint64 m_sent = 0;         // body bytes as sent
    QByteArray m_body;
    std::unique_ptr<Inflater> m_inflater;
};

} // namespace numsieve
