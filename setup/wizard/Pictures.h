#pragma once
// The pictures setup draws itself (header icon, side picture, setup type icons, folder and
// information icons), and the side picture of the welcome and complete pages.

#include <QPixmap>
#include <QWidget>

namespace setup {

namespace pictures {
QPixmap headerIcon(int size);
QPixmap sidePicture(QSize size);
// 0 Typical, 1 Compact, 2 Custom.
QPixmap setupTypeIcon(int which, int size);
QPixmap folderIcon(int size);
QPixmap informationIcon(int size);
}  // namespace pictures

// The picture at the top left of the welcome and complete pages, stretched over 161 x 301
// pixels at every paint; a picture that could not be read leaves the area white.
class SidePicture : public QWidget {
public:
    explicit SidePicture(QWidget* parent);
    void setPicture(const QPixmap& picture) {
        picture_ = picture;
        update();
    }
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap picture_;
};

}  // namespace setup
