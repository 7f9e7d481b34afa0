#include "FakeGitHubServer.h"

#include <QCryptographicHash>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

QByteArray RecordedRequest::header(QByteArrayView name) const
{
    const qsizetype index = headerIndex(name);
    return index < 0 ? QByteArray() : headers.at(index).second;
}

bool RecordedRequest::hasHeader(QByteArrayView name) const
{
    return headerIndex(name) >= 0;
}

qsizetype RecordedRequest::headerIndex(QByteArrayView name) const
{
    for (qsizetype i = 0; i < headers.size(); ++i) {
        if (headers.at(i).first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

FakeGitHubServer::FakeGitHubServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeGitHubServer::acceptConnections);
    if (!m_server.listen(QHostAddress::LocalHost))
        qFatal("fake GitHub server cannot listen: %s", qPrintable(m_server.errorString()));
}

QString FakeGitHubServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void FakeGitHubServer::enqueue(ScriptedResponse response)
{
    m_queue.append(std::move(response));
}

void FakeGitHubServer::setHandler(std::function<ScriptedResponse(const RecordedRequest &)> handler)
{
    m_handler = std::move(handler);
}

void FakeGitHubServer::setResource(const QByteArray &target, QByteArray body)
{
    m_resources.insert(target, std::move(body));
}

void FakeGitHubServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeGitHubServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    // Several requests may arrive on one kept-alive connection.
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        RecordedRequest request;
        const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        qsizetype contentLength = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed();
            const QByteArray value = line.mid(colon + 1).trimmed();
            request.headers.append({name, value});
            if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
                contentLength = value.toLongLong();
        }
        const qsizetype total = headerEnd + 4 + contentLength;
        if (buffer.size() < total)
            return;
        request.body = buffer.mid(headerEnd + 4, contentLength);
        buffer.remove(0, total);
        m_requests.append(request);
        emit requestReceived(request);
        answer(socket, request);
    }
}

void FakeGitHubServer::refuseChanges(QByteArray targetPrefix, int status)
{
    m_refusals.append({std::move(targetPrefix), status});
}

void FakeGitHubServer::answer(QTcpSocket *socket, const RecordedRequest &request)
{
    ScriptedResponse response;
    const auto refusal = std::find_if(m_refusals.cbegin(), m_refusals.cend(), [&request](const auto &refused) {
        return request.method != "GET" && request.target.startsWith(refused.first);
    });
    if (refusal != m_refusals.cend()) {
        response = {refusal->second, R"({"message":"Refused"})", {}, ScriptedResponse::Behaviour::respond};
    } else if (const auto resource = m_resources.constFind(request.target);
               resource != m_resources.cend() && request.method == "GET") {
        ++m_resourceRequests;
        const QByteArray etag = '"' + QCryptographicHash::hash(*resource, QCryptographicHash::Sha1).toHex() + '"';
        if (request.header("If-None-Match") == etag) {
            ++m_resourceNotModified;
            response = {304, {}, {{"ETag", etag}}, ScriptedResponse::Behaviour::respond};
        } else {
            response = {200, *resource, {{"ETag", etag}}, ScriptedResponse::Behaviour::respond};
        }
    } else if (!m_queue.isEmpty())
        response = m_queue.takeFirst();
    else if (m_handler)
        response = m_handler(request);
    else
        response.body = "[]";

    if (response.behaviour == ScriptedResponse::Behaviour::stall)
        return;

    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Scripted\r\n";
    for (const auto &[name, value] : std::as_const(response.headers))
        head += name + ": " + value + "\r\n";

    if (response.behaviour == ScriptedResponse::Behaviour::trickle) {
        socket->write(head + "Content-Length: 1000000\r\n\r\n");
        auto *drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket, [socket] { socket->write(" "); });
        drip->start(100);
        return;
    }
    if (response.behaviour == ScriptedResponse::Behaviour::endless) {
        socket->write(head + "Transfer-Encoding: chunked\r\n\r\n");
        // 20 MB of chunks and no last chunk: to the client, a body without end.
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
        socket->write(chunk.repeated(20 * 16));
        return;
    }

    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";

    if (response.behaviour == ScriptedResponse::Behaviour::closeMidBody) {
        socket->write(head + response.body.left(response.body.size() / 2));
        socket->flush();
        socket->disconnectFromHost();
        return;
    }
    socket->write(head + response.body);
}
