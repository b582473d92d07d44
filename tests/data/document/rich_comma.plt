MNAM 'Hepatitis Ü-Test \'B\'';'Kit lot 42\tbatch \\7\\ – stor'
 'e at 4°C';
DSEP ',';
REPO 'REPORT header \'Vyn\' — a long report definition text th'
 'at is folded over several continuation lines because it is far'
 ' longer than 64 characters';
DESC G;PosCtrl;255;'Positive control ä';
DESC G;NegCtrl;16711680;'';
DESC Q;Smp;32768;'Qualitative sample';
DESC SP;Std;-16777216;'Standard';
DESC SN;StdBlk;197121;'Standard blank';
DESC NP;Unk;1971210;'Quantitative sample';
DESC NN;UnkBlk;3945000;'Quantitative blank';
BLNK 1;'mean(NegCtrl)';'x - \'a\\b\'';
FDEF ratio;'PosCtrl / NegCtrl';fct2;'mean(Std)';
VALI ok;'PosCtrl > 0.5';
CALJ 1;0;0;1;0;0;1;0;10;50;100;'fitted on the bench';1;'K[1] = 0'
 '.0164839K[0] = 0.0931452';8;0;0,049;0;0;0,051;0;10;0,258;0;10;
 0,262;0;50;0,99;0;50;1,01;0;100;1,695;0;100;1,705;0;1;1;15;0;
 110;0;110;0;100;0,0931451612903226;1,74153225806452;
 0,0931451612903226;0,0164838709677419;0;0;0,0164838709677419;0;
 0;
QUAL pos;'Smp > 1.5';txt;'if(Smp > 1; \'it\'\'s\'; "\t")';
QUAN 1;2,5;10;
SMGL '';2;PosCtrl;0;NegCtrl;1;
SMST '';8;Std;12;0;Std;13;0;Std;14;1;Std;15;1;Std;16;2;Std;17;2;
 Std;18;3;Std;19;3;
SMQF 'Fix élève';L;2;Smp;24;Smp;25;high;'Smp > 2';res2;'Smp < '
 '0,5';
SMNF 'Serum 1';L;2;Unk;36;0;Unk;37;1;1;4;conc_ok;'conc < 80';
SMQS 'Seq Q1';G;1;Smp;48;
SMQS 'Seq Q2';G;1;Smp;49;
SMQS 'Seq Q3';G;1;Smp;50;
SMNS 'Seq N1';G;2;Unk;60;0;Unk;61;0;
SMNS 'Seq N2';G;2;Unk;62;0;Unk;63;0;
DMEA 1;450;620;'shake=5;speed=\'fast\'';
FMTM 2;0;3;
FMTT 1;6;4;
FMTR 0;5;3;
UNIT 'µg/ml';
WIDT 40;30;
GRAF 1;0;1;
TMEA 13350000012345;
DM96 1,875;0,125;;;;;;;;;;;0,051;0,049;0,262;0,258;1,01;0,99;
 1,705;1,695;;;;;0,333333333333333;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;
 ;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;0,00000025;
DT96 1,75;;;;;;;;;;;;0,051;0,049;0,262;0,258;1,01;0,99;1,705;
 1,695;;;;;0,208333333333333;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;
 ;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;
QEND 
