// Resource ids of the editor's page-setup dialog (print.rc).
#pragma once

#define IDD_PAGESET 1546         // the dialog template "ﾍﾟｰｼﾞ設定"
#define IDC_PAGESET_HEADER 1119  // header template edit
#define IDC_PAGESET_FOOTER 1120  // footer template edit
#define IDC_PAGESET_HEADER_FIELD 1122
#define IDC_PAGESET_FOOTER_FIELD 1123
#define IDC_PAGESET_HELP 1028
#define IDI_PAGESET_FIELD 130    // the field buttons' icon
#define IDR_HEADFOOT 189         // popup menu of the fields
#define ID_FIELD_FILENAME 32822
#define ID_FIELD_PAGE 32823
#define ID_FIELD_TIME 32824
#define ID_FIELD_DATE 32825
#define ID_FIELD_LEFT 32826
#define ID_FIELD_CENTER 32827
#define ID_FIELD_RIGHT 32828
#define ID_FILE_PAGE_SETUP 32807  // the main frame's command
#define HELP_TOPIC_PAGESET 4007
