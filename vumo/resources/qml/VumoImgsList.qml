// The picture strip of the listing editor's picture page: one tile per picture of the set shown,
// the main picture marked, each with a "设为主图" and a "删除" button. C++ fills it through the
// functions below and hears the buttons through the two signals.
import QtQuick

Rectangle {
    id: root
    color: "#ffffff"
    border.color: "#cbcbcb"

    signal signalSetMainBtnClicked(int index)
    signal signalDeleteBtnClicked(int index)

    // One entry per tile: { path: file URL, isMain: bool }. Replaced as a whole on every change
    // so the strip follows; it needs nothing beyond QtQuick itself.
    property var pictures: []

    function addImage(path, isMain) {
        var list = pictures.slice()
        list.push({ "path": String(path), "isMain": Boolean(isMain) })
        pictures = list
        strip.positionViewAtEnd()
    }
    function deleteImage(index) {
        if (index < 0 || index >= pictures.length)
            return
        var list = pictures.slice()
        list.splice(index, 1)
        pictures = list
    }
    function setMainImage(index) {
        var list = []
        for (var i = 0; i < pictures.length; ++i)
            list.push({ "path": pictures[i].path, "isMain": i === index })
        pictures = list
    }
    function rowCount() {
        return pictures.length
    }
    function clearImage() {
        pictures = []
    }

    ListView {
        id: strip
        objectName: "strip"
        anchors.fill: parent
        anchors.margins: 8
        orientation: ListView.Horizontal
        spacing: 10
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: root.pictures.length

        delegate: Item {
            id: tile
            readonly property bool isMain: index < root.pictures.length && root.pictures[index].isMain
            readonly property string path: index < root.pictures.length ? root.pictures[index].path : ""
            // Thumbnails shrink with a low strip so the buttons stay visible, and with a narrow one
            // so a full set of six fits without scrolling.
            readonly property int side: Math.max(60, Math.min(180, strip.height - 36,
                                                              Math.floor((strip.width - 5 * strip.spacing) / 6)))
            width: Math.max(side, 110)
            height: strip.height

            Rectangle {
                id: frame
                anchors.horizontalCenter: parent.horizontalCenter
                width: tile.side
                height: tile.side
                color: "#f4f4f4"
                border.width: tile.isMain ? 2 : 1
                border.color: tile.isMain ? "#e4393c" : "#cbcbcb"

                Image {
                    objectName: "thumb" + index
                    anchors.fill: parent
                    anchors.margins: 3
                    source: tile.path
                    sourceSize.width: 280
                    sourceSize.height: 280
                    fillMode: Image.PreserveAspectFit
                    asynchronous: false
                    cache: false
                }

                Rectangle {
                    objectName: "mainMark" + index
                    visible: tile.isMain
                    anchors.top: parent.top
                    anchors.left: parent.left
                    width: 22
                    height: 22
                    color: "#e4393c"
                    Text {
                        anchors.centerIn: parent
                        text: "\u2605"
                        color: "#ffffff"
                        font.pixelSize: 14
                    }
                }
            }

            Row {
                anchors.top: frame.bottom
                anchors.topMargin: 6
                anchors.horizontalCenter: frame.horizontalCenter
                spacing: 6

                Rectangle {
                    objectName: "setMainBtn" + index
                    width: Math.max(56, setMainText.implicitWidth + 10)
                    height: 22
                    radius: 2
                    color: tile.isMain ? "#eeeeee" : (setMainArea.containsMouse ? "#e6f0fb" : "#ffffff")
                    border.color: "#cbcbcb"
                    Text {
                        id: setMainText
                        anchors.centerIn: parent
                        text: "设为主图"
                        font.pixelSize: 12
                        color: tile.isMain ? "#999999" : "#333333"
                    }
                    MouseArea {
                        id: setMainArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: root.signalSetMainBtnClicked(index)
                    }
                }

                Rectangle {
                    objectName: "deleteBtn" + index
                    width: Math.max(40, deleteText.implicitWidth + 10)
                    height: 22
                    radius: 2
                    color: deleteArea.containsMouse ? "#fbe9e9" : "#ffffff"
                    border.color: "#cbcbcb"
                    Text {
                        id: deleteText
                        anchors.centerIn: parent
                        text: "删除"
                        font.pixelSize: 12
                        color: "#333333"
                    }
                    MouseArea {
                        id: deleteArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: root.signalDeleteBtnClicked(index)
                    }
                }
            }
        }
    }

    // Where the view stands when the tiles do not all fit.
    Rectangle {
        visible: strip.visibleArea.widthRatio < 1
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 2
        x: strip.x + strip.visibleArea.xPosition * strip.width
        width: strip.visibleArea.widthRatio * strip.width
        height: 4
        radius: 2
        color: "#b0b0b0"
    }
}
