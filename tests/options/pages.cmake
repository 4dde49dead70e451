# The options pages that map settings to controls, and the custom-link dialog.
quarvel_add_test(tst_optionspages tst_optionspages.cpp settingsroundtrip.h)
quarvel_add_test(tst_popuprss tst_popuprss.cpp recordingoptionshost.h settingsroundtrip.h)
quarvel_add_test(tst_histside tst_histside.cpp recordingoptionshost.h)
quarvel_add_test(tst_formspage tst_formspage.cpp recordingoptionshost.h)
