#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

// A small HTTP server on 127.0.0.1 that serves the pages a test sets up and counts the
// requests for each path.
class TestHttpServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QByteArray extraHeaders;    // each line ending in "\r\n"
        int delayMs = 0;            // the answer waits this long
        qint64 declaredLength = -1; // a length other than the body's: the answer breaks off
    };

    TestHttpServer();

    // A page whose title is `title`, with `body` as its content.
    void page(const QString &path, const QString &title, const QString &body = {});
    void respond(const QString &path, const Response &response);
    // A permanent redirect to another path.
    void redirect(const QString &path, const QString &to);

    QString url(const QString &path) const;
    int hits(const QString &path) const { return hits_.value(path); }

private:
    void serve(class QTcpSocket *socket);

    QTcpServer server_;
    QHash<QString, Response> responses_;
    QHash<QString, int> hits_;
};
