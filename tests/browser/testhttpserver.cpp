#include "testhttpserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

TestHttpServer::TestHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection())
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
    });
}

void TestHttpServer::page(const QString &path, const QString &title, const QString &body) {
    Response response;
    response.body = QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head>"
                                   "<body>%2</body></html>")
                        .arg(title, body)
                        .toUtf8();
    respond(path, response);
}

void TestHttpServer::respond(const QString &path, const Response &response) {
    responses_.insert(path, response);
}

void TestHttpServer::redirect(const QString &path, const QString &to) {
    Response response;
    response.status = 301;
    response.extraHeaders = "Location: " + url(to).toUtf8() + "\r\n";
    respond(path, response);
}

QString TestHttpServer::url(const QString &path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void TestHttpServer::serve(QTcpSocket *socket) {
    if (!socket->canReadLine())
        return;
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    // The rest of the request (its headers) is read and not needed.
    socket->readAll();
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const QString path = requestLine.size() > 1 ? QString::fromUtf8(requestLine[1]) : QString();
    ++hits_[path];
    Response response;
    if (responses_.contains(path)) {
        response = responses_.value(path);
    } else {
        response.status = 404;
        response.body = "<html><head><title>Not found</title></head><body>404</body></html>";
    }
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(response.delayMs, this, [alive, response] {
        if (!alive)
            return;
        const QByteArray reason = response.status == 200   ? "OK"
                                  : response.status == 301 ? "Moved Permanently"
                                                           : "Not Found";
        alive->write("HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason + "\r\n" +
                     "Content-Type: " + response.contentType + "\r\n" + "Content-Length: " +
                     QByteArray::number(response.declaredLength < 0 ? response.body.size()
                                                                    : response.declaredLength) +
                     "\r\n" + "Cache-Control: no-store\r\nConnection: close\r\n" +
                     response.extraHeaders + "\r\n" + response.body);
        alive->disconnectFromHost();
        QObject::connect(alive, &QTcpSocket::disconnected, alive, &QObject::deleteLater);
    });
}
