// The kind icons of the variable list: eight 16-pixel images, one for each
// kind number from 0 (string) to 7 (property set), drawn by the program.
// Kind 8 (colour spline) lies past the last image and shows none.
#pragma once

#include <vector>

#include <QIcon>
#include <QPixmap>

class CKindImageList {
public:
    static constexpr int kImageCount = 8;
    static constexpr int kImageSize = 16;

    CKindImageList();

    // The image of a kind number; a null icon outside 0..7.
    QIcon Icon(int kind) const;
    const QPixmap& Pixmap(int kind) const { return images.at(size_t(kind)); }
    int Count() const { return int(images.size()); }

private:
    std::vector<QPixmap> images;
    std::vector<QIcon> icons;
};
