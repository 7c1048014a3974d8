// SPDX-License-Identifier: MIT
#pragma once
// A headless Chromium driven through its DevTools protocol over a pipe: pages opened with a virtual
// clock, so that a page's timers run exactly as far as a test says, and every request they make
// seen. Run as root, it needs its sandbox off.

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include <sys/types.h>

class HeadlessBrowser {
  public:
    // Starts the browser with `switches` beyond the usual ones; isRunning() says whether it did.
    explicit HeadlessBrowser(const QStringList& switches = {});
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    bool isRunning() const { return pid_ > 0; }

    // Opens `url` in a new tab of `size` CSS pixels and lets its clock run `ms` milliseconds.
    bool open(const QString& url, QSize size, int ms);
    // Lets the open tab's clock run on.
    bool run(int ms);
    // The tab as it looks now.
    QImage screenshot();
    // The value of a JavaScript expression in the tab.
    QJsonValue evaluate(const QString& expression);
    // A click of the left button at `point`.
    void click(QPoint point);
    // Every URL the tab has requested.
    QStringList requests() const { return requests_; }

  private:
    QJsonObject call(const QString& method, const QJsonObject& params = {}, bool inTab = true);
    QJsonObject waitFor(const std::function<bool(const QJsonObject&)>& match);
    void note(const QJsonObject& message);

    QTemporaryDir profile_;
    pid_t pid_ = -1;
    int toBrowser_ = -1;
    int fromBrowser_ = -1;
    QByteArray received_;
    int nextId_ = 0;
    QString session_;
    QStringList requests_;
};
