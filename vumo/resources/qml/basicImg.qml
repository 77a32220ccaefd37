// The main picture of the basic page. The page sets ImgShow (a picture is there), TextShow
// (nothing to show) and ImgPath (its address).
import QtQuick

Rectangle {
    id: frame
    color: "#ffffff"
    border.color: "#cbcbcb"
    border.width: 1

    Image {
        id: picture
        anchors.fill: parent
        anchors.margins: 2
        visible: ImgShow
        source: ImgShow ? ImgPath : ""
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        cache: false
        smooth: true
    }

    Text {
        anchors.centerIn: parent
        visible: TextShow || (ImgShow && picture.status === Image.Error)
        text: "商品主图"
        color: "#999999"
    }
}
