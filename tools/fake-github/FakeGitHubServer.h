#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// One request as it arrived: method, target (path and query), headers in
// the order they were sent, and the body.
struct RecordedRequest {
    QByteArray method;
    QByteArray target;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // Case-insensitive; empty when absent.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;
    // Position among the headers, -1 when absent.
    qsizetype headerIndex(QByteArrayView name) const;
};

struct ScriptedResponse {
    enum class Behaviour {
        respond, // the whole answer
        closeMidBody, // headers announcing the full body, half of it, then close
        stall, // read the request, never answer
        trickle, // headers, then one byte of the body every 100 ms, without end
        endless, // a chunked body that never ends (20 MB of chunks, no last one)
    };

    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    Behaviour behaviour = Behaviour::respond;
};

// An HTTP/1.1 server on loopback standing in for api.github.com or one
// Enterprise Server. It records every request and answers what the test
// scripts: refused changes first, then resources, then queued responses,
// then the handler, then 200 with an empty array.
class FakeGitHubServer : public QObject {
    Q_OBJECT

public:
    explicit FakeGitHubServer(QObject *parent = nullptr);

    QString baseUrl() const;
    quint16 port() const { return m_server.serverPort(); }

    void enqueue(ScriptedResponse response);
    void setHandler(std::function<ScriptedResponse(const RecordedRequest &)> handler);
    // A GET of `target` answers this body with an ETag of its bytes, as GitHub
    // answers an issue, a pull request or a comment: 304 when If-None-Match
    // names the current ETag. Replacing the body changes the ETag.
    void setResource(const QByteArray &target, QByteArray body);
    // How many requests went to the resources, and how many got a 304.
    int resourceRequests() const { return m_resourceRequests; }
    int resourceNotModified() const { return m_resourceNotModified; }

    // Every change of state (PATCH, PUT, DELETE) whose target starts with
    // `targetPrefix` answers `status` with GitHub's error body, until
    // allowChanges(); so this host alone refuses what is asked of it.
    void refuseChanges(QByteArray targetPrefix, int status);
    void allowChanges() { m_refusals.clear(); }

    const QList<RecordedRequest> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(const RecordedRequest &request);

private:
    void acceptConnections();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const RecordedRequest &request);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<RecordedRequest> m_requests;
    QList<ScriptedResponse> m_queue;
    std::function<ScriptedResponse(const RecordedRequest &)> m_handler;
    QHash<QByteArray, QByteArray> m_resources;
    QList<QPair<QByteArray, int>> m_refusals;
    int m_resourceRequests = 0;
    int m_resourceNotModified = 0;
};
