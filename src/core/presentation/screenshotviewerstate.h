#pragma once

#include <QObject>
#include <QString>

// The full-window screenshot viewer of a detail page: which shot is open, whether the arrows
// can move, and the counter under it.
class ScreenshotViewerState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count WRITE setCount NOTIFY countChanged)
    Q_PROPERTY(int index READ index NOTIFY viewChanged)
    Q_PROPERTY(bool isOpen READ isOpen NOTIFY viewChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY viewChanged)
    Q_PROPERTY(bool canGoForward READ canGoForward NOTIFY viewChanged)
    Q_PROPERTY(QString counterText READ counterText NOTIFY viewChanged)

public:
    explicit ScreenshotViewerState(QObject *parent = nullptr);

    int count() const { return m_count; }
    // Fewer shots than the open one's position close the viewer.
    void setCount(int count);
    // The open shot's position, -1 while closed.
    int index() const { return m_index; }
    bool isOpen() const { return m_index >= 0; }
    bool canGoBack() const { return isOpen() && m_index > 0; }
    bool canGoForward() const { return isOpen() && m_index < m_count - 1; }
    // "2 / 5" on the second of five; empty while closed.
    QString counterText() const;

    // Positions outside the shots are ignored, as are the arrows at the ends.
    Q_INVOKABLE void open(int index);
    Q_INVOKABLE void close();
    Q_INVOKABLE void previous();
    Q_INVOKABLE void next();

Q_SIGNALS:
    void countChanged();
    // The index or anything computed from it and the count.
    void viewChanged();

private:
    void setIndex(int index);

    int m_count = 0;
    int m_index = -1;
};
