MNAD 'Old method';'';
MNAM 'Old method';'written by an older version été';
DSEP '.';
DESC G;Ctl;255;'';
DESC SP;Std;0;'';
DESC NP;Unk;0;'';
DESC Q;Smp;0;'';
FDEF
VALI 0;'never';
VALI 1;'Ctl > 0';
REPO
CALI 0;1;1;0;1;;20;
SMPL G;'controls';G;2;0;0;0;0;1;0;
SMPL S;'';G;2;1;2;0;1;3;1;
SMPL NF;'old serum';L;2;2;10;0;2;11;1;2;1;5;
SMPL QS;'seq';L;1;3;20;0;1;'Smp > 1';
TMEA 100000;
DA96 0.5;;0.25;
QEND
