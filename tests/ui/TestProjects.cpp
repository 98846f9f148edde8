#include "TestProjects.h"

#include "support/RecordEncoders.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <string_view>

namespace orv::testing {

ProjectBuilder trackerProject(int sceneCount, const std::string& name) {
    ProjectBuilder b;
    b.lock = 321;
    b.settings.ProjectName = name;
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 12;
    for (int s = 1; s <= sceneCount; ++s) {
        SceneRecord scene = makeScene("Scene " + std::to_string(s));
        scene.OnLoadFlagEnabled = 1;
        scene.OnLoadFlag = static_cast<Integer>(s % 255 + 1);
        scene.OnLoadValue = 1;
        scene.Slots[0].ObjectType = 0;
        b.scenes.push_back(scene);
    }
    CueCardRecord card;
    card.ChoiceSetsFlag[0] = 1;
    card.ChoiceFlag[0] = 12;
    card.ChoiceValue[0] = 1;
    b.cueCards = {card};
    InventoryItemRecord item;
    item.ExamineSetsFlag = 1;
    item.ExamineFlag = 7;
    item.ExamineValue = 2;
    b.items = {item, InventoryItemRecord{}};
    b.locations = {LocationRecord{}};
    return b;
}

ProjectBuilder filesProject() {
    ProjectBuilder b = trackerProject(2, "Files Test");
    b.scenes[0].SceneFile[0] = "harbour.bmp";
    b.scenes[0].SceneFile[1] = "lost.gif";
    b.scenes[1].SceneFile[0] = "bell.wav";
    b.scenes[1].SceneFile[1] = "gone.mp3";
    b.gfxFiles = {
        {"harbour.bmp", pictureBytes("BMP", 64, 48)},
        {"boat.bmp", pictureBytes("BMP", 640, 200)},
        {"cliff.jpg", pictureBytes("JPEG", 120, 160)},
        {"gull.gif", pictureBytes("GIF", 32, 32)},
        {"notes.bmp", "these are notes, not a picture"},
        {"map.png", pictureBytes("PNG", 40, 40)},
    };
    b.mmediaFiles = {
        {"bell.wav", "RIFF...."},
        {"theme.mp3", "ID3...."},
        {"wind.wav", "RIFF...."},
        {"intro.avi", "RIFF...."},
    };
    return b;
}

std::string pictureBytes(const char* format, int width, int height) {
    if (std::string_view(format) == "GIF") {
        // Qt reads GIF but cannot write it: a 1 by 1 red GIF, byte by byte.
        static const unsigned char gif[] = {'G',  'I',  'F',  '8',  '9',  'a',  1,    0,    1,    0,    0x80, 0,
                                            0,    0xFF, 0,    0,    0,    0,    0,    ',',  0,    0,    0,    0,
                                            1,    0,    1,    0,    0,    2,    2,    'D',  1,    0,    ';'};
        return std::string(reinterpret_cast<const char*>(gif), sizeof gif);
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 140));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 200, 60));
    painter.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

} // namespace orv::testing
