// The least a program built on QtGui costs: it loads Qt's libraries, makes one
// picture and ends. What a build by vedivavurir-cli cannot go below.
#include <QImage>

int main() {
    const QImage picture(1, 1, QImage::Format_RGB32);
    return picture.isNull() ? 1 : 0;
}
