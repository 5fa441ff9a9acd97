#pragma once

// Control, command, resource and timer numbers shared by the whole program.

constexpr int IDC_LATITUDE = 1001;
constexpr int IDC_LONGITUDE = 1002;
constexpr int IDC_ZOOM = 1003;
constexpr int IDC_MOVE_TO_POINT = 1234;
constexpr int IDC_RECORD = 1235;
constexpr int IDC_INFO = 4001;
constexpr int IDC_DATE = 4002;
constexpr int IDC_TIME = 4003;

constexpr int ID_PICTURE_OPEN = 40001;
constexpr int ID_FILE_EXIT = 40002;
constexpr int ID_PICTURE_RECORD = 40009;

constexpr int IDI_APP = 101;
constexpr int IDR_MAINMENU = 102;
constexpr int IDR_WRITE_GPS = 112;
constexpr int IDR_READ_GPS = 114;
// Reads, writes and undoes many pictures per run.
constexpr int IDR_BATCH_GPS = 116;

constexpr int IDT_STARTUP = 100;

// Notification codes carried by a command.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;

// The place the map shows until told otherwise.
constexpr const char* DEFAULT_LATITUDE = "37.562159";
constexpr const char* DEFAULT_LONGITUDE = "126.97335";
constexpr int DEFAULT_ZOOM = 12;
