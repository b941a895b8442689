// Ids of the resource compiler's sample script.
#define IDD_FIRST      100
#define IDD_SECOND     300
#define IDC_NAME       1001
#define IDC_PICTURE    1002
#define IDS_GREETING   24576
#define IDB_BOARD      7
