#include "window/frm_main.h"
#include "window/quorvane_application.h"

int main(int argc, char** argv)
{
    QuorvaneApplication app(argc, argv);
    FrmMain form;
    form.show();
    return app.exec();
}
