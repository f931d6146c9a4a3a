import QtQuick 2.15
import QtCharts 2.15
import WorkWave.DataSource 1.0

Rectangle {
    id: root
    width: 800
    height: 600
    color: "#1e1e1e"

    property bool newServoVersion: DataSource.isNewServoVersion()

    Connections {
        target: DataSource
        function onServoVersionChanged() {
            root.newServoVersion = DataSource.isNewServoVersion()
        }
    }

    Text {
        id: title
        objectName: "titleText"
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.topMargin: 8
        text: qsTr("Wave Monitor")
        color: "white"
        font.pixelSize: 18
    }

    ChartView {
        id: chart
        objectName: "waveChart"
        anchors.top: title.bottom
        anchors.bottom: versionText.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 8
        antialiasing: true
        theme: ChartView.ChartThemeDark
        legend.visible: false

        ValueAxis {
            id: axisX
            min: 0
            max: DataSource.xAxisMax
            titleText: qsTr("Time (ms)")
        }
        ValueAxis {
            id: axisY
            min: -100
            max: 100
        }
        LineSeries {
            name: "CH1"
            axisX: axisX
            axisY: axisY
        }
    }

    Text {
        id: versionText
        objectName: "versionText"
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.margins: 8
        text: "new servo version: " + root.newServoVersion
        color: "#c0c0c0"
    }
}
