// Printer page: see printerpage.h (to come).
