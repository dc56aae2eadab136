#pragma once

#include <QWidget>
#include <string>

namespace ui {

// A caption written in the indexed-text notation ("U~AB~", "@f"), drawn
// centred in the widget's font over the parent's background.
class TIndexTextLabel : public QWidget {
    Q_OBJECT
public:
    explicit TIndexTextLabel(std::string text, QWidget* parent = nullptr);
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string text_;
};

}  // namespace ui
